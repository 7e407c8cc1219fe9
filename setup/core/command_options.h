#pragma once
// setup's command line: the fixed table of recognised options, the scan that finds them anywhere
// in the text, and the option tail (everything after the last recognised option, handed on to
// the installer). Also the indirect form "/cmdloc <registry value>" and the choice of what the
// run does with the options found.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "registry_location.h"

namespace maglorin {

enum class OptionId : int {
    Help = 1,
    Extract = 2,
    OriginalPath = 3,
    ExtractMainPackage = 4,  // "/extractlzma"
    DeleteMainPackage = 5,   // "/deletelzma"
    NoUi = 6,
    BasicUi = 7,
    Language = 8,
    ListLanguages = 9,
    GroupsExtract = 10,
    CallbackId = 11,
    Out = 12,
    ProxyUserName = 14,
    ProxyPassword = 15,
    Log = 16,  // "/exelog:"
};

enum class OptionValueKind { None, Quoted, Word };

struct CommandOption {
    std::u16string_view text;
    OptionValueKind kind;
    OptionId id;
    bool stopsScan;
};

// Scanned in this order: longer forms precede their prefixes ("/extractlzma" and "/extract:"
// before "/extract"), so the longer form wins.
std::span<const CommandOption> CommandOptionTable();

struct FoundOption {
    OptionId id;
    std::u16string value;
};

struct ParsedCommandLine {
    std::vector<FoundOption> options;  // in table order
    std::u16string tail;               // after the last recognised option; all of it when none

    const FoundOption* Find(OptionId id) const;  // the first one found, null when absent
    bool Has(OptionId id) const { return Find(id) != nullptr; }
};

// Each row's text is searched (case-sensitive, first occurrence) from the first non-blank
// character on. A row that stops the scan ends it when found.
ParsedCommandLine ParseCommandLine(std::u16string_view commandLine);

// The arguments of "/cmdloc": runs of blanks separate them; an argument opening with a double
// quote runs to the next one, and both quotes go.
std::vector<std::u16string> SplitArguments(std::u16string_view commandLine);

// The registry value named by "/cmdloc <location>" when the command line is exactly those two
// arguments; nullopt otherwise (the command line is then used as it stands).
std::optional<RegistryLocation> IndirectCommandLineLocation(std::u16string_view commandLine);

// What the run does; the first present in this order wins.
enum class RunMode {
    Help,
    ListLanguages,
    Extract,
    ExtractMainPackage,
    DeleteMainPackage,
    GroupsExtract,
    Install,
};
RunMode ChooseRunMode(const ParsedCommandLine& parsed);

}  // namespace maglorin
