#pragma once
// The language step of the installation: "/exelang", a quiet run's base language, the language of
// an installed copy, then the default choice and, when the package asks, the language dialog.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "language_choice.h"
#include "language_manager_win32.h"
#include "package_records.h"

namespace maglorin {

struct LanguagePhaseRequest {
    std::optional<std::u16string> requestedLanguage;  // the "/exelang" value
    bool quiet = false;
    PackageFlags packageFlags = PackageFlags::None;
    SystemLanguageIds system;
    LanguageManager* manager = nullptr;                // required
    std::function<std::uint16_t()> installedLanguage;  // of an installed copy; 0 or null: none
    std::function<void()> hideStatus;
    // The dialog: the selected language, nullopt when cancelled.
    std::function<std::optional<std::uint16_t>(const std::vector<std::uint16_t>&, std::uint16_t)> ask;
};

struct LanguagePhaseResult {
    bool cancelled = false;  // the user cancelled the choice: the run ends with exit code 0
};

[[nodiscard]] LanguagePhaseResult ChooseLanguage(const LanguagePhaseRequest& request);

// The installed language of the first product related to the upgrade code: its "InstalledLanguage"
// or else the InstallLanguage value of its uninstall key (32-bit view, then 64-bit); 0 when none.
std::uint16_t InstalledProductLanguage(std::u16string_view upgradeCode);

}  // namespace maglorin
