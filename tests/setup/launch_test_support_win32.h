#pragma once
// What the installer-launch tests under Wine share: the databases and packages made by
// make_launch_packages.sh, their product codes, and msiexec.exe run directly.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace maglorin::test_support {

// The codes of launch_packages/kit.wxs (and kit-update.msi, the same product one build later).
inline const std::u16string kKitProduct = u"{3F1B7C2A-5D84-4E6B-9A10-2C7E5B8D4F61}";
inline const std::u16string kKitUpgrade = u"{7A2C4E18-9B3D-4F5A-8C61-0D2E4F6A8B95}";
inline const std::u16string kFailingProduct = u"{5E2D8A14-7C3B-4A69-B1F0-3D9E8C7B6A52}";

// testdata\launch\<name> as an absolute path.
std::filesystem::path Data(const std::string& name);
std::u16string DataText(const std::string& name);

// The package code of testdata\launch\<database>.msi (a new one for every build of it).
std::u16string PackageCodeOf(const std::string& database);

// A fresh, empty folder testdata\launch-work\<name>, absolute, ending in '\'.
std::u16string FreshFolder(const std::string& name);

// msiexec.exe of the system folder with the given options (beginning with a blank); its full
// 32-bit exit code, nullopt when it cannot be started.
std::optional<std::uint32_t> Msiexec(const std::u16string& options);

// Removes the product quietly when it is installed (a test's end, or a previous run's leftovers).
void EnsureRemoved(const std::u16string& productCode);

}  // namespace maglorin::test_support
