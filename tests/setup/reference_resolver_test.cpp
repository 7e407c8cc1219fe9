#include "reference_resolver.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "configuration_test_text.h"
#include "registry_location.h"

namespace maglorin {
namespace {

using test_support::Printable;

// A machine made of tables; records the registry questions it was asked.
class TableLookups final : public ReferenceLookups {
public:
    std::map<SystemFolderKind, std::u16string> systemFolders{
        {SystemFolderKind::System, u"C:\\Windows\\system32"},
        {SystemFolderKind::Windows, u"C:\\Windows"},
        {SystemFolderKind::Temp, u"C:\\Temp\\"},
    };
    std::map<int, std::u16string> shellFolders{
        {38, u"C:\\Program Files"},       {43, u"C:\\Program Files\\Common Files"},
        {16, u"C:\\Users\\u\\Desktop"},   {26, u"C:\\Users\\u\\AppData\\Roaming"},
        {6, u"C:\\Users\\u\\Favorites"},  {11, u"C:\\Users\\u\\Start Menu"},
        {2, u"C:\\Users\\u\\Programs"},   {7, u"C:\\Users\\u\\Startup"},
        {20, u"C:\\Windows\\Fonts"},      {28, u"C:\\Users\\u\\AppData\\Local"},
        {35, u"C:\\ProgramData"},
    };
    std::map<std::u16string, std::u16string> environment{{u"HOMEDRIVE", u"C:"}, {u"EMPTY", u""}};
    std::map<std::u16string, std::u16string> registry{
        {u"HKCU|Software\\Torvexa|Path", u"D:\\Torvexa"},
        {u"HKLM|Software\\Torvexa\\Sub|", u"default value"},
        {u"HKU|Weird\\Key|Name", u"users root"},
        {u"HKCR||Top", u"at the root"},
    };
    std::vector<RegistryView> viewsAsked;

    std::optional<std::u16string> SystemFolder(SystemFolderKind kind) override { return Find(systemFolders, kind); }
    std::optional<std::u16string> ShellFolder(int number) override { return Find(shellFolders, number); }
    std::optional<std::u16string> Environment(std::u16string_view name) override {
        std::optional<std::u16string> value = Find(environment, std::u16string(name));
        if (value && value->empty()) return std::nullopt;
        return value;
    }
    std::optional<std::u16string> RegistryString(const RegistryLocation& location, RegistryView view) override {
        viewsAsked.push_back(view);
        return Find(registry, RootName(location.root) + u"|" + location.key + u"|" + location.valueName);
    }

private:
    template <typename Map, typename Key>
    static std::optional<std::u16string> Find(const Map& map, const Key& key) {
        const auto found = map.find(key);
        if (found == map.end()) return std::nullopt;
        return found->second;
    }
    static std::u16string RootName(RegistryRoot root) {
        switch (root) {
        case RegistryRoot::LocalMachine: return u"HKLM";
        case RegistryRoot::CurrentUser: return u"HKCU";
        case RegistryRoot::ClassesRoot: return u"HKCR";
        case RegistryRoot::CurrentConfig: return u"HKCC";
        case RegistryRoot::Users: break;
        }
        return u"HKU";
    }
};

struct ResolveCase {
    std::u16string text;
    std::u16string resolved;
};

class ReferenceResolving : public ::testing::TestWithParam<ResolveCase> {};

TEST_P(ReferenceResolving, ReplacesKnownReferencesAndKeepsTheRest) {
    TableLookups lookups;
    const ReferenceResolver resolver(lookups, u"E:\\Media\\");
    EXPECT_EQ(Printable(resolver.Resolve(GetParam().text)), Printable(GetParam().resolved))
        << Printable(GetParam().text);
}

const ResolveCase kResolveCases[] = {
    {u"", u""},
    {u"plain text", u"plain text"},
    {u"[SystemFolder]msiexec.exe", u"C:\\Windows\\system32\\msiexec.exe"},
    {u"[WindowsFolder]", u"C:\\Windows\\"},
    {u"[WindowsVolume]boot.ini", u"C:\\boot.ini"},
    {u"[TempFolder]x", u"C:\\Temp\\x"},
    {u"[SETUPEXEDIR]setup.ini", u"E:\\Media\\setup.ini"},
    {u"[ProgramFilesFolder]A", u"C:\\Program Files\\A"},
    {u"[ProgramFiles]A", u"C:\\Program Files\\A"},
    {u"[ProgramFiles64Folder]A", u"C:\\Program Files\\A"},  // no ProgramW6432 on this machine
    {u"[CommonFilesFolder]", u"C:\\Program Files\\Common Files\\"},
    {u"[DesktopFolder]", u"C:\\Users\\u\\Desktop\\"},
    {u"[AppDataFolder]Torvexa\\install\\", u"C:\\Users\\u\\AppData\\Roaming\\Torvexa\\install\\"},
    {u"[FavoritesFolder]", u"C:\\Users\\u\\Favorites\\"},
    {u"[StartMenuFolder]", u"C:\\Users\\u\\Start Menu\\"},
    {u"[ProgramMenuFolder]", u"C:\\Users\\u\\Programs\\"},
    {u"[StartupFolder]", u"C:\\Users\\u\\Startup\\"},
    {u"[FontsFolder]", u"C:\\Windows\\Fonts\\"},
    {u"[LocalAppDataFolder]", u"C:\\Users\\u\\AppData\\Local\\"},
    {u"[CommonAppDataFolder]", u"C:\\ProgramData\\"},
    {u"[UnknownFolder]x", u"[UnknownFolder]x"},
    {u"[systemfolder]x", u"[systemfolder]x"},               // names are case-sensitive
    {u"[ SystemFolder ]", u"[ SystemFolder ]"},
    {u"[]", u"[]"},
    {u"a[SystemFolder]b[WindowsFolder]c", u"aC:\\Windows\\system32\\bC:\\Windows\\c"},
    {u"%HOMEDRIVE%\\x", u"C:\\x"},
    {u"%NOT_SET%x", u"x"},
    {u"%EMPTY%x", u"x"},
    {u"100%%", u"100"},                                      // "%%" names an empty variable
    {u"50% off", u"50% off"},                                // no closing sign
    {u"!HKCU\\Software\\Torvexa\\Path!\\bin", u"D:\\Torvexa\\bin"},
    {u"!HKLM\\Software\\Torvexa\\Sub\\!", u"default value"},
    {u"!Other\\Weird\\Key\\Name!", u"users root"},
    {u"!HKCR\\Top!", u"at the root"},
    {u"!HKCU\\Software\\Missing\\Path!x", u"x"},
    {u"!NoBackslash!x", u"x"},
    {u"Hello!", u"Hello!"},
    {u"[SystemFolder", u"[SystemFolder"},                    // an open bracket ends the scan
    {u"[TempFolder]a[SystemFolder", u"C:\\Temp\\a[SystemFolder"},
    {u"%HOMEDRIVE%[x %HOMEDRIVE%", u"C:[x %HOMEDRIVE%"},      // the rest after it is not scanned
    {u"]%HOMEDRIVE%]", u"]C:]"},
    {u"[a%HOMEDRIVE%]", u"[a%HOMEDRIVE%]"},                  // the first opening decides the kind
    {u"%[SystemFolder]%", u""},                              // a variable named "[SystemFolder]"
    {u"![SystemFolder]!", u""},
};

INSTANTIATE_TEST_SUITE_P(Texts, ReferenceResolving, ::testing::ValuesIn(kResolveCases));

TEST(ReferenceResolver, ReplacementsAreNotScannedAgain) {
    TableLookups lookups;
    lookups.environment[u"LOOP"] = u"%LOOP%[SystemFolder]";
    lookups.registry[u"HKCU|K|V"] = u"!HKCU\\K\\V!";
    const ReferenceResolver resolver(lookups, u"");
    EXPECT_EQ(Printable(resolver.Resolve(u"%LOOP%")), "%LOOP%[SystemFolder]");
    EXPECT_EQ(Printable(resolver.Resolve(u"!HKCU\\K\\V!")), "!HKCU\\K\\V!");
}

TEST(ReferenceResolver, RegistryReferencesUseTheDefaultView) {
    TableLookups lookups;
    const ReferenceResolver resolver(lookups, u"");
    resolver.Resolve(u"!HKCU\\Software\\Torvexa\\Path!");
    ASSERT_EQ(lookups.viewsAsked.size(), 1u);
    EXPECT_EQ(lookups.viewsAsked[0], RegistryView::Default);
}

TEST(ReferenceResolver, ProgramFiles64PrefersProgramW6432) {
    TableLookups lookups;
    lookups.environment[u"ProgramW6432"] = u"C:\\Program Files (x64)";
    const ReferenceResolver resolver(lookups, u"");
    EXPECT_EQ(Printable(resolver.Resolve(u"[ProgramFiles64Folder]")), "C:\\Program Files (x64)\\");
    EXPECT_EQ(Printable(resolver.Resolve(u"[ProgramFilesFolder]")), "C:\\Program Files\\");
}

TEST(ReferenceResolver, OldShellsFallBackToTheEnvironmentForTwoFolders) {
    TableLookups lookups;
    lookups.shellFolders.clear();
    lookups.environment[u"PROGRAMFILES"] = u"C:\\Progra~1";
    lookups.environment[u"APPDATA"] = u"C:\\Users\\u\\Roaming";
    const ReferenceResolver resolver(lookups, u"");
    EXPECT_EQ(Printable(resolver.Resolve(u"[ProgramFilesFolder]")), "C:\\Progra~1\\");
    EXPECT_EQ(Printable(resolver.Resolve(u"[ProgramFiles64Folder]")), "C:\\Progra~1\\");
    EXPECT_EQ(Printable(resolver.Resolve(u"[AppDataFolder]")), "C:\\Users\\u\\Roaming\\");
    EXPECT_EQ(Printable(resolver.Resolve(u"[DesktopFolder]")), "[DesktopFolder]") << "no fallback";
}

TEST(ReferenceResolver, FoldersTheSystemCannotAnswerStayAsWritten) {
    TableLookups lookups;
    lookups.systemFolders.clear();
    lookups.shellFolders[16] = u"";
    const ReferenceResolver resolver(lookups, u"");
    for (std::u16string_view text : {u"[SystemFolder]a", u"[WindowsFolder]a", u"[WindowsVolume]a", u"[TempFolder]a",
                                     u"[SETUPEXEDIR]a", u"[DesktopFolder]a"}) {
        EXPECT_EQ(Printable(resolver.Resolve(text)), Printable(text));
    }
    lookups.systemFolders[SystemFolderKind::Windows] = u"C:";
    EXPECT_EQ(Printable(resolver.Resolve(u"[WindowsVolume]")), "[WindowsVolume]") << "too short for a drive root";
}

TEST(ReferenceResolver, FolderGivesOneNameOfTheTable) {
    TableLookups lookups;
    const ReferenceResolver resolver(lookups, u"E:\\Media");
    EXPECT_EQ(resolver.Folder(u"SETUPEXEDIR"), u"E:\\Media\\");
    EXPECT_EQ(resolver.Folder(u"AppDataFolder"), u"C:\\Users\\u\\AppData\\Roaming\\");
    EXPECT_EQ(resolver.Folder(u"Nothing"), std::nullopt);
}

struct LocationCase {
    std::u16string text;
    bool parsed;
    RegistryRoot root;
    std::u16string key;
    std::u16string value;
};

class RegistryLocationParsing : public ::testing::TestWithParam<LocationCase> {};

TEST_P(RegistryLocationParsing, SplitsRootKeyAndValue) {
    const LocationCase& c = GetParam();
    RegistryLocation location;
    ASSERT_EQ(ParseRegistryLocation(c.text, location), c.parsed) << Printable(c.text);
    if (!c.parsed) return;
    EXPECT_EQ(location.root, c.root) << Printable(c.text);
    EXPECT_EQ(Printable(location.key), Printable(c.key));
    EXPECT_EQ(Printable(location.valueName), Printable(c.value));
}

const LocationCase kLocationCases[] = {
    {u"HKLM\\SOFTWARE\\Microsoft\\Install", true, RegistryRoot::LocalMachine, u"SOFTWARE\\Microsoft", u"Install"},
    {u"HKCU\\Software\\Run\\", true, RegistryRoot::CurrentUser, u"Software\\Run", u""},
    {u"HKCR\\.msi\\", true, RegistryRoot::ClassesRoot, u".msi", u""},
    {u"HKCC\\System\\Value", true, RegistryRoot::CurrentConfig, u"System", u"Value"},
    {u"HKU\\S-1-5-18\\Value", true, RegistryRoot::Users, u"S-1-5-18", u"Value"},
    {u"hklm\\Key\\Value", true, RegistryRoot::Users, u"Key", u"Value"},  // abbreviations are exact
    {u"HKLM\\Value", true, RegistryRoot::LocalMachine, u"", u"Value"},
    {u"\\Key\\Value", true, RegistryRoot::Users, u"Key", u"Value"},
    {u"HKLM", false, RegistryRoot::Users, u"", u""},
    {u"", false, RegistryRoot::Users, u"", u""},
};

INSTANTIATE_TEST_SUITE_P(Locations, RegistryLocationParsing, ::testing::ValuesIn(kLocationCases));

}  // namespace
}  // namespace maglorin
