#pragma once
// References inside configuration values: "[FolderName]" for a system or shell folder,
// "%NAME%" for an environment variable and "!ROOT\key\value!" for a registry string.
// The scanner and the folder table are portable; the answers come from a ReferenceLookups
// (the system's own in setup/core/win32/reference_lookups_win32.h, a table in tests).

#include <optional>
#include <string>
#include <string_view>

#include "registry_location.h"

namespace maglorin {

enum class SystemFolderKind { System, Windows, Temp };

// The questions the resolver asks of the system. Every answer is nullopt when the system has
// none; folders may come with or without their final "\".
class ReferenceLookups {
public:
    virtual ~ReferenceLookups() = default;
    virtual std::optional<std::u16string> SystemFolder(SystemFolderKind kind) = 0;
    // A special-folder number of the shell (38 program files, 26 roaming application data, ...).
    virtual std::optional<std::u16string> ShellFolder(int folderNumber) = 0;
    // nullopt when the variable is not set (an empty value counts as not set).
    virtual std::optional<std::u16string> Environment(std::u16string_view name) = 0;
    // The text stored in a string value; nullopt when the key cannot be opened or the value is
    // missing or holds no text.
    virtual std::optional<std::u16string> RegistryString(const RegistryLocation& location,
                                                         RegistryView view) = 0;
};

class ReferenceResolver {
public:
    // setupExeDir: the folder of the package (the original package of a restarted copy); empty
    // leaves "[SETUPEXEDIR]" unresolved. The lookups must outlive the resolver.
    ReferenceResolver(ReferenceLookups& lookups, std::u16string setupExeDir);

    // Scans left to right for "[", "%" or "!" and replaces each reference up to its closing
    // "]", "%" or "!". Text outside references is copied; an opening character without its
    // closing one copies the rest unchanged. Replacements are not scanned again. A folder name
    // that is unknown or cannot be resolved stays as it was, brackets included; an unset
    // variable and an unreadable registry value become nothing.
    std::u16string Resolve(std::u16string_view text) const;

    // The folder of one name of the folder table, ending in "\"; nullopt when the name is not
    // in the table or the system cannot answer.
    std::optional<std::u16string> Folder(std::u16string_view name) const;

private:
    std::u16string Registry(std::u16string_view location) const;

    ReferenceLookups& lookups_;
    std::u16string setupExeDir_;
};

}  // namespace maglorin
