#pragma once
// The machine's own answers to the detection searches: the registry (32-bit or 64-bit view),
// files, their version resources, fixed drives, the file-system redirection, and the installer
// service through msi.dll. Windows only; the header stays free of <windows.h>.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "detection_system.h"

namespace maglorin {

class MsiLibrary;
class FileSystemRedirectionOff;

class SystemDetection final : public DetectionSystem {
public:
    // `msi` may be null or not loaded: the installer-service questions then find nothing.
    // It must outlive this object.
    explicit SystemDetection(MsiLibrary* msi);
    ~SystemDetection() override;

    bool KeyExists(const RegistryLocation& key, RegistryView view) override;
    std::optional<std::vector<std::u16string>> SubkeyNames(const RegistryLocation& key, RegistryView view) override;
    std::optional<RegistryData> ReadValue(const RegistryLocation& value, RegistryView view) override;
    std::vector<std::u16string> FixedDriveRoots() override;
    bool FileExists(std::u16string_view path) override;
    VersionNumber FileVersion(std::u16string_view path) override;
    std::vector<std::u16string> Subfolders(std::u16string_view folder) override;
    void SetFileSystemRedirection(bool enabled) override;
    bool Is64BitWindows() override;
    std::optional<std::u16string> ProductVersionString(std::u16string_view productCode) override;
    std::vector<std::u16string> RelatedProducts(std::u16string_view upgradeCode) override;
    ComponentInstallState LocateComponent(std::u16string_view componentCode) override;

private:
    MsiLibrary* msi_;
    std::unique_ptr<FileSystemRedirectionOff> redirectionOff_;
};

// Runs a search's program through the shell's "open" action in its own folder and waits.
class ShellProgramHost final : public ProgramHost {
public:
    std::optional<std::uint32_t> RunAndWait(std::u16string_view program, std::u16string_view arguments,
                                            bool hidden) override;
};

}  // namespace maglorin
