#pragma once
// InstallerCommandLine: the options given to msiexec.exe, built from the user's installer
// options, the package and database paths, the configuration, the chosen instance and language
// and the prerequisites' results. Portable; the questions that need the installer service come
// in as callbacks.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "instance_choice.h"

namespace maglorin {

// A prerequisite's result handed to the installer as a public property ("NAME=value").
struct PrerequisiteResultProperty {
    std::u16string name;
    std::int32_t value = 0;
};

struct CommandLineInputs {
    std::u16string options;        // command-line tail, or MainAppCmdLine resolved
    std::u16string packagePath;    // setup's package file (the original of a restarted copy)
    std::u16string databasePath;   // extracted database without "\\?\", or the MainAppURL address
    bool allPlatforms = false;
    bool is64PlatformTransf = false;
    bool is64BitWindows = false;
    bool mainIsPatch = false;
    bool reinstallOlder = false;   // Options letter "u": ask the minor-upgrade test
    std::uint16_t languageId = 0;  // 0: setup's built-in language
    const InstanceSelection* instances = nullptr;  // null: no instances
    std::vector<PrerequisiteResultProperty> prerequisiteResults;
};

struct CommandLineQuestions {
    // The minor-upgrade test for a database path; asked only with reinstallOlder and no
    // placeholder in the options. Null answers false.
    std::function<bool(const std::u16string& databasePath)> minorUpgrade;
    // "An upgrade of the selected instance will be performed. Do you want to continue?"; asked
    // when the instance fragment leads to an upgrade. Null answers yes.
    std::function<bool()> confirmUpgrade;
};

struct CommandLineResult {
    bool cancelled = false;        // the user declined the instance upgrade
    std::u16string commandLine;    // begins with a blank; the program name is not in it
};

CommandLineResult BuildInstallerCommandLine(const CommandLineInputs& inputs,
                                            const CommandLineQuestions& questions);

// Pieces of the build, each with its own rules.

// ".x64" before the extension of the file name; a name without "." is left alone.
std::u16string WithPlatformSuffix(std::u16string_view path);
// The path with the extension of its file name replaced (ext includes the "."); appended when
// the name has none.
std::u16string WithExtension(std::u16string_view path, std::u16string_view extension);
// Up to and including the last '\'; empty when there is none.
std::u16string FolderWithSeparator(std::u16string_view path);

// The TRANSFORMS property for the language and platform; empty when none applies.
std::u16string TransformFragment(const CommandLineInputs& inputs);

// Where the database path goes: every "//" right after a "|" is a literal two slashes (the "|"
// is removed from options); the last other "//" is the placeholder. nullopt when there is none.
std::optional<std::size_t> TakePlaceholder(std::u16string& options);

// The language for the transforms: the chosen one (0 for a built-in language); when the choice
// was not fixed and setup has a single built-in language, the default choice over the
// candidates instead, and 0 when that is the first candidate.
std::uint16_t TransformLanguage(std::uint16_t chosen, bool notFixed, bool singleBuiltInLanguage,
                                const std::vector<std::uint16_t>& candidates,
                                const std::function<std::uint16_t(const std::vector<std::uint16_t>&)>& defaultChoice);

}  // namespace maglorin
