#pragma once
// The system's answers to the reference resolver: folders from the system and the shell,
// variables from the process environment, strings from the registry. Windows only; the header
// itself stays free of <windows.h>.

#include <optional>
#include <string>
#include <string_view>

#include "reference_resolver.h"
#include "registry_location.h"

namespace maglorin {

class SystemReferenceLookups final : public ReferenceLookups {
public:
    std::optional<std::u16string> SystemFolder(SystemFolderKind kind) override;
    // First the shell (SHGetSpecialFolderLocation, SHGetPathFromIDListW), then SHGetFolderPathW
    // of shfolder.dll, loaded from the system folder by its full path.
    std::optional<std::u16string> ShellFolder(int folderNumber) override;
    std::optional<std::u16string> Environment(std::u16string_view name) override;
    std::optional<std::u16string> RegistryString(const RegistryLocation& location,
                                                 RegistryView view) override;
};

// The second source of shell folders: SHGetFolderPathW of the system's shfolder.dll.
std::optional<std::u16string> ShellFolderFromShfolder(int folderNumber);

// A string value (REG_SZ or REG_EXPAND_SZ, unexpanded) read for querying only. Stored text
// without its terminating NUL, or with an odd byte count, is read safely. nullopt when the key
// cannot be opened, the value is missing or has another type.
std::optional<std::u16string> ReadRegistryString(const RegistryLocation& location, RegistryView view);

}  // namespace maglorin
