#pragma once
// The prerequisites a package names in setup.ini: other installers that must be on the machine
// before the main application. Each one says how to detect it, where it applies and where its
// installer comes from (a payload file, a download or a web site). Portable.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "configuration_file.h"
#include "detection_search.h"

namespace maglorin {

enum class PrerequisiteTarget { SetupFile = 0, Url = 1, OpenSite = 2 };

// Detection status: present, or missing and how to get it, or not for this machine.
namespace prerequisite_status {
inline constexpr int kPresent = 0;
inline constexpr int kMissingPayload = 1;
inline constexpr int kMissingDownload = 2;
inline constexpr int kMissingSite = 3;
inline constexpr int kNotApplicable = 4;
}  // namespace prerequisite_status

// What the run does with a prerequisite.
namespace prerequisite_action {
inline constexpr int kNothing = 0;
inline constexpr int kRunFromPayload = 1;
inline constexpr int kDownload = 2;
inline constexpr int kOpenSite = 3;
inline constexpr int kNotApplicable = 4;
inline constexpr int kRunDownloaded = 5;
inline constexpr int kNotSelected = 7;
}  // namespace prerequisite_action

struct Prerequisite {
    std::u16string name;  // the section's name
    std::u16string versionMin, versionMax;
    std::u16string win9xVersions, winNtVersions, winNt64Versions;
    PrerequisiteTarget target = PrerequisiteTarget::SetupFile;
    std::u16string targetText;  // payload file name, download address or site address
    std::uint64_t exactSize = 0;  // 0: not checked
    std::u16string md5;           // empty: not checked
    int listOperator = 0;
    std::u16string commandLine;
    std::u16string options;
    std::u16string resultProperty;
    std::u16string parentPrerequisite;
    std::u16string folder;
    std::u16string languageList;  // always ends with ";" unless empty
    std::vector<DetectionSearch> searches;

    // Run-time state.
    int detectionStatus = prerequisite_status::kMissingPayload;
    bool downloaded = false;
    bool selected = true;
    bool failed = false;
    std::vector<std::u16string> found;

    bool HasOption(char16_t letter) const { return options.find(letter) != std::u16string::npos; }
    bool Mandatory() const { return HasOption(u'm'); }
    bool RestartAfter() const { return HasOption(u'r'); }
    bool SixtyFourBitSearches() const { return HasOption(u'x'); }
};

// Reads PREREQUISITES ("App1", "App2", ... up to the first missing number) and each named
// section. A section without a target, or with a search type whose search string is missing,
// is invalid and ends the list. Addresses and command lines are kept as written.
std::vector<Prerequisite> LoadPrerequisites(const ConfigurationFile& configuration);

// "1033;1031" and "1033;1031;" hold 1031; the numbers compare as 16-bit values; empty: any.
bool LanguageListAllows(std::u16string_view languageList, std::uint16_t languageId);

}  // namespace maglorin
