#include "launch_conditions.h"

namespace maglorin {

namespace {

std::u16string Text(const ConfigurationSection& section, std::u16string_view key) {
    const std::u16string* value = section.FindKey(key);
    return value != nullptr ? *value : std::u16string();
}

// A display text is read only together with the value it describes.
void ReadPair(const ConfigurationSection& section, std::u16string_view key, std::u16string_view nameKey,
              std::u16string& value, std::u16string& name) {
    if (const std::u16string* found = section.FindKey(key)) {
        value = *found;
        name = Text(section, nameKey);
    }
}

void ReadOffice(const ConfigurationSection& section, LaunchConditions& conditions) {
    // The last present of the three keys names the application and its release.
    constexpr std::pair<std::u16string_view, int> kKeys[] = {
        {u"Office2003App", 2003}, {u"Office2007App", 2007}, {u"Office2010App", 2010}};
    for (const auto& [key, release] : kKeys) {
        if (const std::u16string* value = section.FindKey(key)) {
            conditions.officeApplication = *value;
            conditions.officeRelease = release;
        }
    }
}

}  // namespace

LaunchConditions ReadLaunchConditions(const ConfigurationFile& configuration) {
    LaunchConditions c;
    const ConfigurationSection* section = configuration.FindSection(u"GlobalLaunchConds");
    if (section == nullptr) return c;
    const ConfigurationSection& s = *section;
    ReadPair(s, u"Win9xVersions", u"Win9xName", c.win9xVersions, c.win9xName);
    ReadPair(s, u"WinNTVersions", u"WinNTName", c.winNtVersions, c.winNtName);
    ReadPair(s, u"WinNT64Versions", u"WinNT64Name", c.winNt64Versions, c.winNt64Name);
    ReadPair(s, u"MinIEVer", u"MinIEVerName", c.minIeVersion, c.minIeVersionName);
    c.minIisVersion = Text(s, u"MinIISVer");
    c.minDotNetVersion = Text(s, u"MinDotNETVer");
    c.minScreenResolution = Text(s, u"MinScreenRes");
    c.minColourQuality = Text(s, u"MinColorQuality");
    c.minPhysicalMemory = Text(s, u"MinPhisicalMem");
    c.adminPrivileges = s.FindKey(u"AdminPrivileges") != nullptr;
    c.activeInternetConnection = s.FindKey(u"ActiveInternetConnection") != nullptr;
    c.minAcrobatReaderVersion = Text(s, u"MinAcrobatReaderVer");
    c.minDirectXVersion = Text(s, u"MinDirectXVer");
    c.minJreVersion = Text(s, u"MinJREVer");
    c.minJdkVersion = Text(s, u"MinJDKVer");
    ReadOffice(s, c);
    c.xnaFramework = Text(s, u"XNAFramework");
    c.sqlExpress = Text(s, u"SQLExpress");
    c.sqlCompact = Text(s, u"SQLCompact");
    c.activeSync = Text(s, u"ActiveSync");
    c.office2003Interop = Text(s, u"Office2003Pia");
    c.office2007Interop = Text(s, u"Office2007Pia");
    c.office2010Interop = Text(s, u"Office2010Pia");
    c.officeSharedInterop = Text(s, u"OfficeSharedPia");
    c.officeToolsRuntime = Text(s, u"VisualStudioToolsOffice");
    return c;
}

std::vector<std::u16string> DefaultInternetSites() {
    return {u"http://www.microsoft.com", u"http://www.google.com", u"http://www.wikipedia.org"};
}

}  // namespace maglorin
