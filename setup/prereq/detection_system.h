#pragma once
// The questions a detection search asks of the machine: registry keys and values, files and
// their version resources, drives and folders, the installer service, and programs to run.
// The system's own answers live in win32/detection_system_win32.h; tests answer from tables.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry_location.h"
#include "version_number.h"

namespace maglorin {

// A registry value as stored: text (REG_SZ, REG_EXPAND_SZ unexpanded), a 32-bit number
// (REG_DWORD) or anything else.
struct RegistryData {
    enum class Kind { Text, Number, Other };
    Kind kind = Kind::Other;
    std::u16string text;        // Kind::Text
    std::uint32_t number = 0;   // Kind::Number
};

// The installer service's answer about a component's location.
enum class ComponentInstallState { Absent, Local, Source, Other };

class DetectionSystem {
public:
    virtual ~DetectionSystem() = default;

    // Registry, opened for reading only. `location.valueName` is ignored by the key questions.
    virtual bool KeyExists(const RegistryLocation& key, RegistryView view) = 0;
    // Names of the direct subkeys; nullopt when the key cannot be opened.
    virtual std::optional<std::vector<std::u16string>> SubkeyNames(const RegistryLocation& key,
                                                                   RegistryView view) = 0;
    // nullopt when the key cannot be opened or the value cannot be queried.
    virtual std::optional<RegistryData> ReadValue(const RegistryLocation& value, RegistryView view) = 0;

    // Files. Folders end in "\"; drive roots are "C:\".
    virtual std::vector<std::u16string> FixedDriveRoots() = 0;
    virtual bool FileExists(std::u16string_view path) = 0;
    // The fixed file version of the file's version resource; 0.0.0.0 when it has none.
    virtual VersionNumber FileVersion(std::u16string_view path) = 0;
    // Full paths of the direct subfolders of `folder`, each ending in "\".
    virtual std::vector<std::u16string> Subfolders(std::u16string_view folder) = 0;
    // Switches the 64-bit file-system redirection of a 32-bit process on 64-bit Windows off
    // (false) or back on (true); nothing elsewhere.
    virtual void SetFileSystemRedirection(bool enabled) = 0;

    // True on 64-bit Windows, whether the process itself is 32-bit or 64-bit.
    virtual bool Is64BitWindows() = 0;

    // The installer service. Product and component codes are GUID texts in braces.
    virtual std::optional<std::u16string> ProductVersionString(std::u16string_view productCode) = 0;
    // Product codes related to an upgrade code, in the service's order; empty when none.
    virtual std::vector<std::u16string> RelatedProducts(std::u16string_view upgradeCode) = 0;
    virtual ComponentInstallState LocateComponent(std::u16string_view componentCode) = 0;
};

// Runs a search's program: the prerequisites phase hosts it.
class ProgramHost {
public:
    virtual ~ProgramHost() = default;
    // Starts `program` with `arguments` in its own folder, shown normally or hidden, and waits
    // for it. The exit code, or nullopt when it could not be started.
    virtual std::optional<std::uint32_t> RunAndWait(std::u16string_view program,
                                                    std::u16string_view arguments, bool hidden) = 0;
};

// Lines for setup's log; never shown to the user.
class SearchLog {
public:
    virtual ~SearchLog() = default;
    virtual void Write(std::u16string_view line) = 0;
};

}  // namespace maglorin
