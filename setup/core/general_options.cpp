#include "general_options.h"

#include "extraction_folder.h"

namespace maglorin {

namespace {

constexpr std::u16string_view kSectionName = u"GeneralOptions";
constexpr VersionNumber kLowestInstallerVersion{2, 0, 0, 0};

char16_t LowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

[[nodiscard]] std::int32_t KeepFilesMode(std::u16string_view value) {
    if (value == u"complete") return kKeepFilesComplete;
    if (value == u"minimum") return kKeepFilesMinimum;
    return kKeepFilesDefault;
}

class SectionReader {
public:
    explicit SectionReader(const ConfigurationSection& section) : section_(section) {}

    std::u16string Text(std::u16string_view key) const {
        const std::u16string* value = section_.FindKey(key);
        return value != nullptr ? *value : std::u16string();
    }
    bool Flag(std::u16string_view key) const { return IsTrueText(Text(key)); }

private:
    const ConfigurationSection& section_;
};

std::u16string_view TrimBlanks(std::u16string_view text) {
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    return text;
}

[[nodiscard]] bool ParseLanguageId(std::u16string_view text, std::uint16_t& id) {
    text = TrimBlanks(text);
    if (text.empty()) return false;
    std::uint32_t value = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
        value = value * 10 + (c - u'0');
        if (value > 0xFFFF) return false;
    }
    id = static_cast<std::uint16_t>(value);
    return true;
}

}  // namespace

bool GeneralOptions::HasOption(char16_t letter) const {
    return options.find(letter) != std::u16string::npos;
}

void GeneralOptions::AddOption(char16_t letter) {
    if (!HasOption(letter)) options += letter;
}

[[nodiscard]] bool IsTrueText(std::u16string_view text) {
    constexpr std::u16string_view kTrue = u"true";
    if (text.size() != kTrue.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (LowerAscii(text[i]) != kTrue[i]) return false;
    }
    return true;
}

GeneralOptions ReadGeneralOptions(const ConfigurationFile& file) {
    GeneralOptions options;
    const ConfigurationSection* section = file.FindSection(kSectionName);
    if (section == nullptr) return options;
    const SectionReader read(*section);
    options.mainAppCmdLine = read.Text(u"MainAppCmdLine");
    options.options = read.Text(u"Options");
    options.minWIVer = VersionNumber::Parse(read.Text(u"MinWIVer"));
    if (options.minWIVer.IsZero()) options.minWIVer = kLowestInstallerVersion;
    options.downloadFolder = read.Text(u"DownloadFolder");
    options.mainAppURL = read.Text(u"MainAppURL");
    options.languageList = read.Text(u"LanguageList");
    options.extractionFolder = NormaliseExtractionFolder(read.Text(u"ExtractionFolder"));
    options.keepFiles = KeepFilesMode(read.Text(u"KeepFiles"));
    options.packJars = read.Flag(u"PackJars");
    options.allPlatforms = read.Flag(u"AllPlatforms");
    options.is64PlatformTransf = read.Flag(u"Is64PlatformTransf");
    options.langs = read.Text(u"Langs");
    options.packageCode = read.Text(u"PackageCode");
    options.productCode = read.Text(u"ProductCode");
    options.defaultProdCode = read.Text(u"DefaultProdCode");
    options.upgradeCode = read.Text(u"UpgradeCode");
    options.extUIStub = !read.Text(u"ExtUIStub").empty();
    options.saveExtUIStub = read.Text(u"SaveExtUIStub");
    return options;
}

std::vector<std::uint16_t> ParseLanguageIds(std::u16string_view langs) {
    std::vector<std::uint16_t> ids;
    while (!langs.empty()) {
        const std::size_t comma = langs.find(u',');
        std::uint16_t id = 0;
        if (ParseLanguageId(langs.substr(0, comma), id)) ids.push_back(id);
        if (comma == std::u16string_view::npos) break;
        langs.remove_prefix(comma + 1);
    }
    return ids;
}

}  // namespace maglorin
