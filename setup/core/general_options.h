#pragma once
// The GeneralOptions section of setup.ini: what the bootstrapper does for this product.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "configuration_file.h"
#include "version_number.h"

namespace maglorin {

// Letters of the Options value; each is present when the value contains it (case-sensitive).
inline constexpr char16_t kOptionQuiet = u'q';              // no user interface at all
inline constexpr char16_t kOptionBasicUi = u'b';            // prerequisites without their wizard
inline constexpr char16_t kOptionReinstallOlder = u'u';     // reinstall over an older installed copy
inline constexpr char16_t kOptionSkipFirstWizardPage = u'h';
inline constexpr char16_t kOptionExtraWizardPage = u'e';
inline constexpr char16_t kOptionOnlyPendingPrerequisites = u'o';  // list only those whose state is not 0

// Values of KeepFiles, the clean-up mode of the extracted files.
inline constexpr std::int32_t kKeepFilesDefault = 0;
inline constexpr std::int32_t kKeepFilesMinimum = 1;   // "minimum"
inline constexpr std::int32_t kKeepFilesComplete = 2;  // "complete"

struct GeneralOptions {
    std::u16string mainAppCmdLine;     // installer options, may hold references
    std::u16string options;            // option letters
    VersionNumber minWIVer{2, 0, 0, 0};  // lowest accepted Windows Installer version
    std::u16string downloadFolder;
    std::u16string mainAppURL;
    std::u16string languageList;
    std::u16string extractionFolder;   // normalised, references not yet resolved; empty = temporary folder
    std::int32_t keepFiles = kKeepFilesDefault;
    bool packJars = false;
    bool allPlatforms = false;
    bool is64PlatformTransf = false;
    std::u16string langs;              // comma-separated decimal language ids
    std::u16string packageCode;
    std::u16string productCode;
    std::u16string defaultProdCode;
    std::u16string upgradeCode;
    bool extUIStub = false;
    std::u16string saveExtUIStub;

    [[nodiscard]] bool HasOption(char16_t letter) const;
    void AddOption(char16_t letter);  // unless already present
};

// A missing section leaves every default in place; missing keys keep theirs. An empty, zero or
// unreadable MinWIVer means 2.0.0.0.
GeneralOptions ReadGeneralOptions(const ConfigurationFile& file);

// The Langs list as numbers, in order; items that are not decimal numbers (or do not fit a
// language id) are left out.
std::vector<std::uint16_t> ParseLanguageIds(std::u16string_view langs);

// True exactly when the text is "true" in any mix of cases.
[[nodiscard]] bool IsTrueText(std::u16string_view text);

}  // namespace maglorin
