#include "prerequisite_rules.h"

namespace maglorin {
namespace {

constexpr std::u16string_view kFamily9x = u"Windows 9x/ME";
constexpr std::u16string_view kFamilyNt32 = u"Windows NT/2k/XP/Vista/Windows7 x86";
constexpr std::u16string_view kFamilyNt64 = u"Windows XP/Vista/Windows7 x64";

bool ListNames(std::u16string_view list, std::u16string_view name) {
    while (!list.empty()) {
        const std::size_t comma = list.find(u", ");
        if (list.substr(0, comma) == name) return true;
        if (comma == std::u16string_view::npos) break;
        list.remove_prefix(comma + 2);
    }
    return false;
}

bool SystemExcluded(const Prerequisite& p, const OsIdentity& os) {
    const std::u16string* excluded = &p.winNtVersions;
    std::u16string_view family = kFamilyNt32;
    if (os.platform == OsPlatform::Windows9x) {
        excluded = &p.win9xVersions, family = kFamily9x;
    } else if (os.platform == OsPlatform::Nt64) {
        excluded = &p.winNt64Versions, family = kFamilyNt64;
    }
    if (excluded->empty()) return false;
    return *excluded == family || ListNames(*excluded, os.name);
}

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

// A relative folder without "..", drive letters or a leading separator.
bool IsContainedPart(std::u16string_view part) {
    if (part.find(u':') != std::u16string_view::npos) return false;
    if (!part.empty() && IsSeparator(part.front())) return false;
    std::size_t start = 0;
    while (start <= part.size()) {
        std::size_t end = start;
        while (end < part.size() && !IsSeparator(part[end])) ++end;
        if (part.substr(start, end - start) == u"..") return false;
        start = end + 1;
    }
    return true;
}

char16_t LowerHex(char16_t c) { return (c >= u'A' && c <= u'F') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

bool PrerequisiteApplies(const Prerequisite& prerequisite, const OsIdentity& os, std::uint16_t languageId) {
    return !SystemExcluded(prerequisite, os) && LanguageListAllows(prerequisite.languageList, languageId);
}

int StatusAfterSearches(const Prerequisite& prerequisite, bool present) {
    if (present) return prerequisite_status::kPresent;
    switch (prerequisite.target) {
    case PrerequisiteTarget::SetupFile: return prerequisite_status::kMissingPayload;
    case PrerequisiteTarget::Url: return prerequisite_status::kMissingDownload;
    case PrerequisiteTarget::OpenSite: return prerequisite_status::kMissingSite;
    }
    return prerequisite_status::kMissingPayload;
}

int PrerequisiteAction(const Prerequisite& prerequisite, bool localFileReady) {
    using namespace prerequisite_action;
    if (!prerequisite.selected) return kNotSelected;
    const int status = prerequisite.detectionStatus;
    if (status != prerequisite_status::kPresent) {
        if (status == prerequisite_status::kMissingDownload && prerequisite.downloaded) return kRunDownloaded;
        return status;
    }
    switch (prerequisite.target) {
    case PrerequisiteTarget::SetupFile: return kRunFromPayload;
    case PrerequisiteTarget::OpenSite: return kOpenSite;
    case PrerequisiteTarget::Url: return localFileReady ? kRunDownloaded : kDownload;
    }
    return kNothing;
}

std::optional<std::u16string> LocalFileAddress(std::u16string_view address) {
    constexpr std::u16string_view kPrefix = u"file://";
    if (address.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    return std::u16string(address.substr(kPrefix.size()));
}

std::u16string AddressFileName(std::u16string_view address) {
    const std::size_t cut = address.find_first_of(u"?#");
    if (cut != std::u16string_view::npos) address = address.substr(0, cut);
    const std::size_t scheme = address.find(u"://");
    if (scheme != std::u16string_view::npos) {
        address.remove_prefix(scheme + 3);
        const std::size_t host = address.find(u'/');
        if (host == std::u16string_view::npos) return {};
        address.remove_prefix(host);
    }
    const std::size_t slash = address.find_last_of(u"/\\");
    const std::u16string_view name = slash == std::u16string_view::npos ? address : address.substr(slash + 1);
    if (name == u"." || name == u"..") return {};
    return std::u16string(name);
}

std::u16string DownloadLocalPlace(std::u16string_view downloadFolder, std::u16string_view folder,
                                  std::u16string_view address) {
    const std::size_t question = folder.find(u'?');
    const std::u16string_view part = folder.substr(0, question);
    const std::u16string name = question != std::u16string_view::npos ? std::u16string(folder.substr(question + 1))
                                                                      : AddressFileName(address);
    if (name.empty() || name == u"." || name == u".." || !IsContainedPart(part) ||
        name.find_first_of(u"\\/:") != std::u16string::npos) {
        return {};
    }
    std::u16string place(downloadFolder);
    if (!place.empty() && !IsSeparator(place.back())) place.push_back(u'\\');
    place.append(part);
    if (!part.empty() && !IsSeparator(place.back())) place.push_back(u'\\');
    return place + name;
}

FileVerdict VerifyPrerequisiteFile(const Prerequisite& prerequisite, std::uint64_t actualSize,
                                   std::string_view actualMd5) {
    if (prerequisite.exactSize != 0 && prerequisite.exactSize != actualSize) return FileVerdict::WrongSize;
    if (prerequisite.md5.empty()) return FileVerdict::Accepted;
    if (prerequisite.md5.size() != 32 || actualMd5.size() != 32) return FileVerdict::WrongDigest;
    for (std::size_t i = 0; i < 32; ++i) {
        if (LowerHex(prerequisite.md5[i]) != static_cast<char16_t>(actualMd5[i])) return FileVerdict::WrongDigest;
    }
    return FileVerdict::Accepted;
}

std::u16string UrlShortcutText(std::u16string_view address) {
    std::u16string text = u"[InternetShortcut]\r\nURL=";
    for (const char16_t c : address) {
        if (c != u'\r' && c != u'\n') text.push_back(c);
    }
    return text + u"\r\n";
}

PrerequisitesVerdict DecidePrerequisitesEnd(const PrerequisitesEnd& end) {
    if (end.cancelled) return {0, -1, true};
    if (end.restartStarted) return {1, 3010, false};
    if (end.mandatoryMissing) return {1, 1, false};
    return {};
}

bool PausesAfterExitCode(std::uint32_t exitCode) { return exitCode == 3010 || exitCode >= 0xC0000000u; }

}  // namespace maglorin

namespace maglorin {

bool ChosenByDefault(const Prerequisite& prerequisite) {
    const int status = prerequisite.detectionStatus;
    return status != prerequisite_status::kPresent && status != prerequisite_status::kNotApplicable;
}

bool MayBeLeftOut(const Prerequisite& prerequisite) {
    return !prerequisite.Mandatory() || prerequisite.detectionStatus == prerequisite_status::kPresent;
}

bool MandatoryStillMissing(const std::vector<Prerequisite>& prerequisites) {
    for (const Prerequisite& p : prerequisites) {
        if (p.selected && p.Mandatory() && p.detectionStatus != prerequisite_status::kPresent) return true;
    }
    return false;
}

bool AnythingToDo(const std::vector<Prerequisite>& prerequisites) {
    for (const Prerequisite& p : prerequisites) {
        const int action = PrerequisiteAction(p, false);
        if (action == prerequisite_action::kRunFromPayload || action == prerequisite_action::kDownload ||
            action == prerequisite_action::kOpenSite || action == prerequisite_action::kRunDownloaded) {
            return true;
        }
    }
    return false;
}

}  // namespace maglorin
