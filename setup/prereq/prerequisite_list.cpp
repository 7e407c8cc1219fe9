#include "prerequisite_list.h"

#include <optional>
#include <string>

namespace maglorin {
namespace {

std::u16string Numbered(std::u16string_view key, int number) {
    std::u16string text(key);
    for (const char c : std::to_string(number)) text.push_back(static_cast<char16_t>(c));
    return text;
}

std::u16string Value(const ConfigurationSection& section, std::u16string_view key) {
    const std::u16string* value = section.FindKey(key);
    return value != nullptr ? *value : std::u16string();
}

// Leading decimal digits (after blanks); anything else ends the number. Saturates.
std::uint64_t DecimalValue(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const std::uint64_t digit = text[i] - u'0';
        if (value > (UINT64_MAX - digit) / 10) return UINT64_MAX;
        value = value * 10 + digit;
    }
    return value;
}

bool ReadSearches(const ConfigurationSection& section, std::vector<DetectionSearch>& searches) {
    for (int number = 1;; ++number) {
        const std::u16string* type = section.FindKey(Numbered(u"SearchType", number));
        if (type == nullptr) return true;
        const std::u16string* searchString = section.FindKey(Numbered(u"SearchString", number));
        if (searchString == nullptr) return false;
        DetectionSearch search;
        search.type = static_cast<int>(DecimalValue(*type) & 0x7FFFFFFF);
        search.searchString = *searchString;
        search.minimumVersion = Value(section, Numbered(u"VerMin", number));
        search.maximumVersion = Value(section, Numbered(u"VerMax", number));
        search.referenceContent = Value(section, Numbered(u"RefContent", number));
        search.searchCommandLine = Value(section, Numbered(u"SearchCmdLine", number));
        searches.push_back(std::move(search));
    }
}

std::optional<Prerequisite> ReadPrerequisite(const ConfigurationSection& section) {
    Prerequisite p;
    p.name = section.name;
    if (const std::u16string* file = section.FindKey(u"SetupFile")) {
        p.target = PrerequisiteTarget::SetupFile, p.targetText = *file;
    } else if (const std::u16string* site = section.FindKey(u"OpenSite")) {
        p.target = PrerequisiteTarget::OpenSite, p.targetText = *site;
    } else if (const std::u16string* url = section.FindKey(u"Url")) {
        p.target = PrerequisiteTarget::Url, p.targetText = *url;
    } else {
        return std::nullopt;
    }
    p.versionMin = Value(section, u"VerMin");
    p.versionMax = Value(section, u"VerMax");
    p.win9xVersions = Value(section, u"Win9xVersions");
    p.winNtVersions = Value(section, u"WinNTVersions");
    p.winNt64Versions = Value(section, u"WinNT64Versions");
    p.exactSize = DecimalValue(Value(section, u"ExactSize"));
    p.md5 = Value(section, u"MD5");
    p.listOperator = static_cast<int>(DecimalValue(Value(section, u"Operator")) & 0x7FFFFFFF);
    p.commandLine = Value(section, u"CommandLine");
    p.options = Value(section, u"Options");
    p.resultProperty = Value(section, u"RetValPropName");
    p.parentPrerequisite = Value(section, u"ParentPrereq");
    p.folder = Value(section, u"Folder");
    p.languageList = Value(section, u"LanguageList");
    if (!p.languageList.empty() && p.languageList.back() != u';') p.languageList.push_back(u';');
    if (!ReadSearches(section, p.searches)) return std::nullopt;
    p.detectionStatus = static_cast<int>(p.target) + 1;
    return p;
}

}  // namespace

std::vector<Prerequisite> LoadPrerequisites(const ConfigurationFile& configuration) {
    std::vector<Prerequisite> list;
    const ConfigurationSection* index = configuration.FindSection(u"PREREQUISITES");
    if (index == nullptr) return list;
    for (int number = 1;; ++number) {
        const std::u16string* sectionName = index->FindKey(Numbered(u"App", number));
        if (sectionName == nullptr) break;
        const ConfigurationSection* section = configuration.FindSection(*sectionName);
        if (section == nullptr) break;
        std::optional<Prerequisite> prerequisite = ReadPrerequisite(*section);
        if (!prerequisite) break;
        list.push_back(std::move(*prerequisite));
    }
    return list;
}

bool LanguageListAllows(std::u16string_view languageList, std::uint16_t languageId) {
    if (languageList.empty()) return true;
    while (!languageList.empty()) {
        const std::size_t end = languageList.find(u';');
        const std::u16string_view item = languageList.substr(0, end);
        if (!item.empty() && static_cast<std::uint16_t>(DecimalValue(item)) == languageId) return true;
        if (end == std::u16string_view::npos) break;
        languageList.remove_prefix(end + 1);
    }
    return false;
}

}  // namespace maglorin
