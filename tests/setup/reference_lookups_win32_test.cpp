// The references resolved by the real system: this Wine prefix's folders, the process
// environment and registry values the tests write themselves (and remove again).
#include "reference_lookups_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configuration_file.h"
#include "configuration_test_text.h"
#include "general_options.h"
#include "reference_resolver.h"

namespace maglorin {
namespace {

using test_support::Printable;

std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::u16string Lower(std::u16string text) {
    for (char16_t& c : text) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    }
    return text;
}

std::u16string WithSeparator(std::u16string folder) {
    if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
    return folder;
}

// The variable as this process sees it, read independently of the code under test.
std::u16string EnvironmentValue(const wchar_t* name) {
    wchar_t value[32768] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return length > 0 && length < 32768 ? U16(std::wstring(value, length)) : std::u16string();
}

bool IsFolder(const std::u16string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class SystemReferences : public ::testing::Test {
protected:
    SystemReferenceLookups lookups_;
    ReferenceResolver resolver_{lookups_, u"Z:\\media\\"};
};

TEST_F(SystemReferences, SystemFoldersComeFromTheSystem) {
    const std::u16string windows = resolver_.Resolve(u"[WindowsFolder]");
    EXPECT_EQ(Printable(Lower(windows)), Printable(Lower(WithSeparator(EnvironmentValue(L"windir")))));
    EXPECT_TRUE(IsFolder(windows)) << Printable(windows);
    const std::u16string system = resolver_.Resolve(u"[SystemFolder]");
    EXPECT_EQ(Printable(Lower(system)), Printable(Lower(windows + u"system32\\")));
    EXPECT_EQ(Printable(resolver_.Resolve(u"[WindowsVolume]")), Printable(windows.substr(0, 3)));
    EXPECT_EQ(windows.substr(1, 2), u":\\");
    const std::u16string temp = resolver_.Resolve(u"[TempFolder]");
    EXPECT_EQ(Printable(Lower(temp)), Printable(Lower(WithSeparator(EnvironmentValue(L"TEMP")))));
    EXPECT_TRUE(IsFolder(temp)) << Printable(temp);
    EXPECT_EQ(Printable(resolver_.Resolve(u"[SETUPEXEDIR]setup.ini")), "Z:\\media\\setup.ini");
}

// The program folders are the 32-bit ones in both builds: what a 64-bit process calls
// "ProgramFiles(x86)" is what a 32-bit one calls "ProgramFiles".
constexpr bool k64BitProcess = sizeof(void*) == 8;
constexpr const wchar_t* kProgramFilesVariable = k64BitProcess ? L"ProgramFiles(x86)" : L"ProgramFiles";
constexpr const wchar_t* kCommonFilesVariable = k64BitProcess ? L"CommonProgramFiles(x86)" : L"CommonProgramFiles";

TEST_F(SystemReferences, ShellFoldersMatchThePrefixEnvironment) {
    const std::pair<std::u16string, const wchar_t*> cases[] = {
        {u"AppDataFolder", L"APPDATA"},
        {u"LocalAppDataFolder", L"LOCALAPPDATA"},
        {u"ProgramFilesFolder", kProgramFilesVariable},
        {u"ProgramFiles", kProgramFilesVariable},
        {u"CommonFilesFolder", kCommonFilesVariable},
        {u"CommonAppDataFolder", L"ProgramData"},
    };
    for (const auto& [name, variable] : cases) {
        const std::u16string expected = EnvironmentValue(variable);
        ASSERT_FALSE(expected.empty()) << "the prefix sets " << Printable(U16(variable));
        const std::optional<std::u16string> folder = resolver_.Folder(name);
        ASSERT_TRUE(folder.has_value()) << Printable(name);
        EXPECT_EQ(Printable(Lower(*folder)), Printable(Lower(WithSeparator(expected)))) << Printable(name);
    }
}

TEST_F(SystemReferences, EveryShellFolderOfTheTableResolves) {
    for (std::u16string_view name : {u"DesktopFolder", u"FavoritesFolder", u"StartMenuFolder", u"ProgramMenuFolder",
                                     u"StartupFolder", u"FontsFolder"}) {
        const std::u16string folder = resolver_.Resolve(u"[" + std::u16string(name) + u"]");
        ASSERT_GE(folder.size(), 4u) << Printable(name);
        EXPECT_EQ(folder.substr(1, 2), u":\\") << Printable(folder);
        EXPECT_EQ(folder.back(), u'\\') << Printable(folder);
    }
    EXPECT_EQ(Printable(Lower(resolver_.Resolve(u"[FontsFolder]"))),
              Printable(Lower(resolver_.Resolve(u"[WindowsFolder]fonts\\"))));
}

TEST_F(SystemReferences, ShfolderDllGivesTheSameFoldersAsTheShell) {
    const std::pair<int, std::u16string> cases[] = {
        {k64BitProcess ? CSIDL_PROGRAM_FILESX86 : CSIDL_PROGRAM_FILES, u"ProgramFilesFolder"}, {26, u"AppDataFolder"}, {28, u"LocalAppDataFolder"},
        {35, u"CommonAppDataFolder"}, {20, u"FontsFolder"},
    };
    for (const auto& [number, name] : cases) {
        const std::optional<std::u16string> fromShfolder = ShellFolderFromShfolder(number);
        const std::optional<std::u16string> fromShell = resolver_.Folder(name);
        ASSERT_TRUE(fromShfolder.has_value() && fromShell.has_value()) << number;
        EXPECT_EQ(Printable(Lower(WithSeparator(*fromShfolder))), Printable(Lower(*fromShell))) << number;
    }
    EXPECT_EQ(ShellFolderFromShfolder(0x7F), std::nullopt);
}

TEST_F(SystemReferences, UnknownShellFolderNumbersHaveNoAnswer) {
    EXPECT_EQ(lookups_.ShellFolder(0x7F), std::nullopt);
    EXPECT_EQ(lookups_.ShellFolder(-1), std::nullopt);
}

TEST_F(SystemReferences, ProgramFiles64FollowsProgramW6432) {
    const std::u16string saved = EnvironmentValue(L"ProgramW6432");
    ASSERT_TRUE(SetEnvironmentVariableW(L"ProgramW6432", nullptr));
    EXPECT_EQ(resolver_.Resolve(u"[ProgramFiles64Folder]"), resolver_.Resolve(u"[ProgramFilesFolder]"));
    ASSERT_TRUE(SetEnvironmentVariableW(L"ProgramW6432", L"C:\\Program Files x64"));
    EXPECT_EQ(Printable(resolver_.Resolve(u"[ProgramFiles64Folder]")), "C:\\Program Files x64\\");
    SetEnvironmentVariableW(L"ProgramW6432", saved.empty() ? nullptr : Wide(saved).c_str());
}

TEST_F(SystemReferences, EnvironmentVariablesOfAnyLength) {
    ASSERT_TRUE(SetEnvironmentVariableW(L"MAGLORIN_SHORT", L"value"));
    const std::wstring longValue(5000, L'x');
    ASSERT_TRUE(SetEnvironmentVariableW(L"MAGLORIN_LONG", longValue.c_str()));
    SetEnvironmentVariableW(L"MAGLORIN_UNSET", nullptr);
    EXPECT_EQ(Printable(resolver_.Resolve(u"<%MAGLORIN_SHORT%>")), "<value>");
    EXPECT_EQ(resolver_.Resolve(u"%MAGLORIN_LONG%"), U16(longValue));
    EXPECT_EQ(Printable(resolver_.Resolve(u"a%MAGLORIN_UNSET%b")), "ab");
    EXPECT_EQ(Printable(resolver_.Resolve(u"%maglorin_short%")), "value") << "Windows names ignore case";
    SetEnvironmentVariableW(L"MAGLORIN_SHORT", nullptr);
    SetEnvironmentVariableW(L"MAGLORIN_LONG", nullptr);
}

TEST_F(SystemReferences, ConfiguredExtractionFolderResolvesUnderRoamingAppData) {
    const std::vector<std::byte> source =
        test_support::IniSource(u"[GeneralOptions]\r\nExtractionFolder=[AppDataFolder]Torvexa\\Maglorin \\\r\n");
    const GeneralOptions options = ReadGeneralOptions(ConfigurationFile::Parse(source));
    EXPECT_EQ(Printable(Lower(resolver_.Resolve(options.extractionFolder))),
              Printable(Lower(WithSeparator(EnvironmentValue(L"APPDATA")) + u"torvexa\\maglorin\\")));
}

constexpr const wchar_t* kScratchParent = L"Software\\Maglorin Config Test";

// A key of our own under a root, in one registry view (0: the process's own), removed with
// everything in it when the test ends.
class ScratchKey {
public:
    ScratchKey(HKEY root, std::wstring path, REGSAM view = 0) : root_(root), path_(std::move(path)), view_(view) {
        Remove();
        created_ = RegCreateKeyExW(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view_, nullptr, &key_,
                                   nullptr) == ERROR_SUCCESS;
    }
    ~ScratchKey() {
        if (created_) RegCloseKey(key_);
        Remove();
        RegDeleteKeyExW(root_, kScratchParent, view_, 0);  // only when no other run still uses it
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    bool Created() const { return created_; }
    bool Set(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        return RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
    }
    bool SetText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
        return Set(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

private:
    void Remove() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(root_, path_.c_str(), 0, KEY_ALL_ACCESS | view_, &key) == ERROR_SUCCESS) {
            RegDeleteTreeW(key, nullptr);
            RegCloseKey(key);
        }
        RegDeleteKeyExW(root_, path_.c_str(), view_, 0);
    }

    HKEY root_;
    std::wstring path_;
    REGSAM view_;
    HKEY key_ = nullptr;
    bool created_ = false;
};

bool IsWindows64() {
    SYSTEM_INFO native = {};
    GetNativeSystemInfo(&native);
    return native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           native.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_ARM64;
}

std::wstring ScratchPath() {
    return std::wstring(kScratchParent) + L"\\" + std::to_wstring(GetCurrentProcessId());
}

TEST_F(SystemReferences, RegistryStringsAreReadFromTheRealRegistry) {
    ScratchKey key(HKEY_CURRENT_USER, ScratchPath());
    ASSERT_TRUE(key.Created());
    ASSERT_TRUE(key.SetText(L"Path", L"D:\\Torvexa"));
    ASSERT_TRUE(key.SetText(nullptr, L"the default"));
    ASSERT_TRUE(key.SetText(L"Expand", L"%SystemRoot%\\x", REG_EXPAND_SZ));
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    ASSERT_TRUE(key.Set(L"NoNul", REG_SZ, unterminated, sizeof unterminated));
    ASSERT_TRUE(key.Set(L"Odd", REG_SZ, L"xyz", 5));  // two whole characters and half a third
    ASSERT_TRUE(key.SetText(L"Long", std::wstring(10000, L'L')));
    const DWORD number = 42;
    ASSERT_TRUE(key.Set(L"Number", REG_DWORD, &number, sizeof number));
    ASSERT_TRUE(key.Set(L"Empty", REG_SZ, L"", 0));

    const std::u16string prefix = u"!HKCU\\" + U16(ScratchPath()) + u"\\";
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Path!\\bin", u"D:\\Torvexa\\bin"},
        {u"!", u"the default"},
        {u"Expand!", u"%SystemRoot%\\x"},  // stored text, not expanded
        {u"NoNul!", u"abc"},
        {u"Odd!", u"xy"},
        {u"Number!", u""},
        {u"Empty!", u""},
        {u"Missing!", u""},
    };
    for (const auto& [tail, expected] : cases) {
        EXPECT_EQ(Printable(resolver_.Resolve(prefix + tail)), Printable(expected)) << Printable(tail);
    }
    EXPECT_EQ(resolver_.Resolve(prefix + u"Long!"), std::u16string(10000, u'L'));
    EXPECT_EQ(Printable(resolver_.Resolve(u"!HKCU\\Software\\Maglorin Config Test\\No Such Key\\Path!x")), "x");
}

// 64-bit Windows keeps a 32-bit and a 64-bit view of the machine's software keys, and a process
// reads the view of its own width by default; 32-bit Windows has only one.
TEST_F(SystemReferences, RegistryRootsAndViews) {
    ScratchKey machine64(HKEY_LOCAL_MACHINE, ScratchPath(), KEY_WOW64_64KEY);
    ASSERT_TRUE(machine64.Created());
    ASSERT_TRUE(machine64.SetText(L"Where", L"machine 64"));
    ScratchKey machine32(HKEY_LOCAL_MACHINE, ScratchPath(), KEY_WOW64_32KEY);
    ASSERT_TRUE(machine32.Created());
    ASSERT_TRUE(machine32.SetText(L"Where", L"machine 32"));  // the same value on 32-bit Windows
    ScratchKey user(HKEY_CURRENT_USER, ScratchPath());
    ASSERT_TRUE(user.Created());
    ASSERT_TRUE(user.SetText(L"Where", L"user"));

    const std::u16string own = sizeof(void*) == 8 ? u"machine 64" : u"machine 32";
    const std::pair<RegistryView, std::u16string> cases[] = {
        {RegistryView::Default, IsWindows64() ? own : u"machine 32"},
        {RegistryView::Force32, u"machine 32"},
        {RegistryView::Force64, IsWindows64() ? u"machine 64" : u"machine 32"},
    };
    RegistryLocation location;
    ASSERT_TRUE(ParseRegistryLocation(u"HKLM\\" + U16(ScratchPath()) + u"\\Where", location));
    for (const auto& [view, expected] : cases) {
        EXPECT_EQ(ReadRegistryString(location, view), std::optional<std::u16string>(expected))
            << static_cast<int>(view);
    }
    location.root = RegistryRoot::CurrentUser;
    EXPECT_EQ(ReadRegistryString(location, RegistryView::Default), std::optional<std::u16string>(u"user"));
    location.root = RegistryRoot::Users;  // the key lives under the current user, not directly under HKU
    EXPECT_EQ(ReadRegistryString(location, RegistryView::Default), std::nullopt);
    location.root = RegistryRoot::ClassesRoot;
    location.key = u"";
    location.valueName = u"No value of this name";
    EXPECT_EQ(ReadRegistryString(location, RegistryView::Default), std::nullopt);
}

TEST_F(SystemReferences, RegistryValuesReadFromAKeyThatIsGone) {
    std::u16string reference;
    {
        ScratchKey key(HKEY_CURRENT_USER, ScratchPath());
        ASSERT_TRUE(key.SetText(L"Gone", L"here"));
        reference = u"!HKCU\\" + U16(ScratchPath()) + u"\\Gone!";
        EXPECT_EQ(Printable(resolver_.Resolve(reference)), "here");
    }
    EXPECT_EQ(Printable(resolver_.Resolve(reference)), "") << "the scratch key was removed";
}

}  // namespace
}  // namespace maglorin
