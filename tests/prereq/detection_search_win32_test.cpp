// Detection searches against the real system under Wine: registry values the tests write (and
// remove), files with version resources, the drives of this prefix, programs run by the shell
// and a product installed and removed with msiexec.
#include "detection_system_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configuration_test_text.h"
#include "detection_search.h"
#include "msi_library_win32.h"
#include "reference_lookups_win32.h"
#include "reference_resolver.h"
#include "version_resource_win32.h"

namespace maglorin {
namespace {

using test_support::Printable;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

constexpr wchar_t kTestKey[] = L"Software\\MaglorinDetectionTest";

std::u16string ProgramFolder() {
    const std::u16string path = RunningProgramPath();
    return path.substr(0, path.rfind(u'\\') + 1);
}

// Runs a program and waits; its exit code, or -1 when it could not start.
long RunProgram(const std::wstring& commandLine) {
    std::wstring mutableLine = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return -1;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<long>(code);
}

class SystemSearches : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
    }
    void SetText(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ) {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }
    void SetNumber(const wchar_t* name, DWORD number) {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number)),
                  ERROR_SUCCESS);
    }
    void AddSubkey(const wchar_t* name) {
        HKEY sub = nullptr;
        ASSERT_EQ(RegCreateKeyExW(key_, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_SUCCESS);
        RegCloseKey(sub);
    }
    bool Present(int type, std::u16string_view path, std::u16string_view minimum = {}, std::u16string_view reference = {},
                 SearchScope scope = {}) {
        DetectionSearch search;
        search.type = type;
        search.searchString.assign(path);
        search.minimumVersion.assign(minimum);
        search.referenceContent.assign(reference);
        return evaluator.IsPresent(search, scope);
    }
    SearchResult Evaluate(int type, std::u16string_view path) {
        DetectionSearch search;
        search.type = type;
        search.searchString.assign(path);
        return evaluator.Evaluate(search, {});
    }

    HKEY key_ = nullptr;
    SystemDetection detection{nullptr};
    SystemReferenceLookups lookups;
    ReferenceResolver resolver{lookups, ProgramFolder()};
    ShellProgramHost host;
    SearchEvaluator evaluator{detection, resolver, &host, nullptr};
};

// ---- Registry ----

TEST_F(SystemSearches, ValuesAsTextNumbersAndDefaults) {
    SetText(L"Version", L"4.0.30319");
    SetText(L"", L"7.2");
    SetNumber(L"Install", 1);
    const BYTE blob[] = {1, 2, 3};
    ASSERT_EQ(RegSetValueExW(key_, L"Blob", 0, REG_BINARY, blob, sizeof(blob)), ERROR_SUCCESS);
    const std::u16string base = u"HKCU\\Software\\MaglorinDetectionTest\\";
    EXPECT_TRUE(Present(search_type::kValueCompare, base + u"Version", {}, u"S4.0"));
    EXPECT_TRUE(Present(search_type::kValueCompare, base + u"Install", {}, u"M1"));
    EXPECT_FALSE(Present(search_type::kValueCompare, base + u"Install", {}, u"G1"));
    EXPECT_FALSE(Present(search_type::kValueCompare, base + u"Blob", {}, u"D1"));
    EXPECT_TRUE(Present(search_type::kValueVersion, base, u"7.2"));  // the key's default value
    EXPECT_FALSE(Present(search_type::kValueVersion, base, u"7.3"));
    EXPECT_TRUE(Present(search_type::kValueExists, base + u"Blob"));
    EXPECT_TRUE(Present(search_type::kValueMissing, base + u"Nothing"));
    EXPECT_TRUE(Present(search_type::kValueMissing, u"HKCU\\Software\\MaglorinNoSuchKey\\Value"));
}

TEST_F(SystemSearches, ExpandableTextIsReadUnexpanded) {
    SetText(L"Path", L"%SystemRoot%\\x", REG_EXPAND_SZ);
    const SearchResult result = Evaluate(search_type::kValueCompare, u"HKCU\\Software\\MaglorinDetectionTest\\Path");
    ASSERT_TRUE(result.valueRead);
    EXPECT_EQ(Printable(result.valueText), "%SystemRoot%\\x");
}

TEST_F(SystemSearches, KeysAndSubkeyVersions) {
    AddSubkey(L"1.4");
    AddSubkey(L"1.6.0_45");
    EXPECT_TRUE(Present(search_type::kKeyExists, u"HKCU\\Software\\MaglorinDetectionTest\\1.4\\"));
    EXPECT_TRUE(Present(search_type::kKeyMissing, u"HKCU\\Software\\MaglorinDetectionTest\\1.5"));
    EXPECT_TRUE(Present(search_type::kSubkeyVersions, u"HKCU\\Software\\MaglorinDetectionTest", u"1.6"));
    EXPECT_FALSE(Present(search_type::kSubkeyVersions, u"HKCU\\Software\\MaglorinDetectionTest", u"1.7"));
    const SearchResult result = Evaluate(search_type::kSubkeyVersions, u"HKCU\\Software\\MaglorinDetectionTest");
    EXPECT_EQ(result.found.size(), 2u);
}

TEST_F(SystemSearches, SixtyFourBitScopeOnThisSystem) {
    // A 64-bit process is on 64-bit Windows although IsWow64Process says no; a 32-bit one is
    // exactly when it runs under WOW64.
    if (sizeof(void*) == 8) {
        EXPECT_TRUE(detection.Is64BitWindows());
    } else {
        BOOL wow64 = FALSE;
        ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
        EXPECT_EQ(detection.Is64BitWindows(), wow64 != FALSE);
    }
    // HKLM answers in the 64-bit scope on either kind of Windows.
    EXPECT_TRUE(Present(search_type::kKeyExists, u"HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion", {}, {},
                        SearchScope::SixtyFourBit()));
}

// ---- Files ----

class TempTree {
public:
    TempTree() {
        wchar_t temp[MAX_PATH + 1];
        GetTempPathW(MAX_PATH + 1, temp);
        root_ = std::wstring(temp) + L"maglorin-detect-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(root_.c_str(), nullptr);
    }
    ~TempTree() {
        for (auto it = created_.rbegin(); it != created_.rend(); ++it) {
            if (!DeleteFileW(it->c_str())) RemoveDirectoryW(it->c_str());
        }
        RemoveDirectoryW(root_.c_str());
    }
    std::wstring Folder(const std::wstring& relative) {
        std::wstring path = root_;
        std::size_t start = 0;
        while (start < relative.size()) {
            const std::size_t slash = relative.find(L'\\', start);
            path += relative.substr(start, slash - start) + L"\\";
            if (CreateDirectoryW(path.c_str(), nullptr)) created_.push_back(path);
            if (slash == std::wstring::npos) break;
            start = slash + 1;
        }
        return path;
    }
    void Copy(const std::wstring& from, const std::wstring& to) {
        if (CopyFileW(from.c_str(), to.c_str(), FALSE)) created_.push_back(to);
    }
    void Text(const std::wstring& to) {
        const HANDLE file = CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        WriteFile(file, "plain", 5, &written, nullptr);
        CloseHandle(file);
        created_.push_back(to);
    }
    const std::wstring& Root() const { return root_; }
    void Track(const std::wstring& path) { created_.push_back(path); }

private:
    std::wstring root_;
    std::vector<std::wstring> created_;
};

std::wstring SampleLibrary() { return Wide(ProgramFolder()) + L"versioned_sample.dll"; }

TEST_F(SystemSearches, FileVersionFromTheVersionResource) {
    TempTree tree;
    const std::wstring deep = tree.Folder(L"a\\b");
    tree.Copy(SampleLibrary(), deep + L"sample.dll");
    tree.Text(tree.Root() + L"plain.dll");
    const std::u16string root = U16(tree.Root());
    const SearchResult found = Evaluate(search_type::kFileVersion, root + u"sample.dll?2");
    ASSERT_EQ(found.found.size(), 1u);
    EXPECT_EQ(Printable(found.found[0]), "3.1.4.1");
    EXPECT_TRUE(Present(search_type::kFileVersion, root + u"sample.dll?2", u"3.1.4"));
    EXPECT_FALSE(Present(search_type::kFileVersion, root + u"sample.dll?2", u"3.1.5"));
    EXPECT_FALSE(Present(search_type::kFileVersion, root + u"sample.dll?1"));
    const SearchResult plain = Evaluate(search_type::kFileVersion, root + u"plain.dll");
    ASSERT_EQ(plain.found.size(), 1u);
    EXPECT_EQ(Printable(plain.found[0]), "0.0.0.0");
    EXPECT_FALSE(Present(search_type::kFileVersion, root + u"plain.dll", u"0.1"));
}

TEST_F(SystemSearches, SystemFileThroughReferences) {
    EXPECT_TRUE(Present(search_type::kFileVersion, u"[SystemFolder]wininet.dll", u"6"));
    EXPECT_FALSE(Present(search_type::kFileVersion, u"[SystemFolder]wininet.dll", u"60000"));
}

TEST_F(SystemSearches, BareFileNameOnTheFixedDrives) {
    const std::vector<std::u16string> drives = detection.FixedDriveRoots();
    ASSERT_FALSE(drives.empty());
    EXPECT_EQ(Printable(drives[0].substr(1)), ":\\");
    // One folder below the root of the system drive.
    wchar_t windows[MAX_PATH + 1];
    GetWindowsDirectoryW(windows, MAX_PATH + 1);
    const std::wstring systemRoot = std::wstring(windows).substr(0, 3);
    const std::wstring name = L"maglorin-bare-" + std::to_wstring(GetCurrentProcessId()) + L".dll";
    const std::wstring folder = systemRoot + L"maglorin-bare-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(SampleLibrary().c_str(), (folder + name).c_str(), FALSE));
    const bool atDepthZero = Present(search_type::kFileVersion, U16(name));
    const bool atDepthOne = Present(search_type::kFileVersion, U16(name) + u"?1", u"3.1");
    DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
    EXPECT_FALSE(atDepthZero);
    EXPECT_TRUE(atDepthOne);
}

TEST(VersionResources, ProductNameFromTheFirstListedTranslation) {
    const std::optional<std::u16string> name = ReadVersionString(RunningProgramPath(), u"ProductName");
    ASSERT_TRUE(name.has_value());
    EXPECT_EQ(Printable(*name), "Torvexa Kit Studio");
    EXPECT_FALSE(ReadVersionString(RunningProgramPath(), u"NoSuchString").has_value());
    wchar_t system[MAX_PATH + 1];
    GetSystemDirectoryW(system, MAX_PATH + 1);
    EXPECT_FALSE(ReadFileVersion(U16(std::wstring(system) + L"\\no-such-file.dll")).has_value());
}

// ---- Programs ----

TEST_F(SystemSearches, ProgramExitCodeThroughTheShell) {
    DetectionSearch search;
    search.type = search_type::kProgramExitCode;
    search.searchString = u"[SystemFolder]cmd.exe";
    search.searchCommandLine = u"/c exit 0";
    search.referenceContent = u"WND_HIDE";
    EXPECT_TRUE(evaluator.IsPresent(search, {}));
    search.searchCommandLine = u"/c exit 3";
    EXPECT_FALSE(evaluator.IsPresent(search, {}));
    search.searchString = u"[SystemFolder]no-such-program.exe";
    search.searchCommandLine.clear();
    EXPECT_FALSE(evaluator.IsPresent(search, {}));
}

// ---- Installer service ----

constexpr char16_t kSampleProduct[] = u"{6C3E1F52-8B0A-4D8E-9E51-3A2B7C4D5E61}";
constexpr char16_t kSampleUpgrade[] = u"{0F4B8A2C-5D6E-4F70-8192-A3B4C5D6E7F8}";
constexpr char16_t kSampleComponent[] = u"{9A8B7C6D-5E4F-4A3B-9C2D-1E0F2A3B4C5D}";

TEST(InstallerServiceSearches, InstalledProductItsFamilyAndItsComponent) {
    MsiLibrary msi;
    ASSERT_TRUE(msi.Load());
    SystemDetection detection(&msi);
    SystemReferenceLookups lookups;
    const ReferenceResolver resolver(lookups, u"");
    const SearchEvaluator evaluator(detection, resolver, nullptr, nullptr);
    const auto present = [&](int type, std::u16string_view code, std::u16string_view minimum) {
        DetectionSearch search;
        search.type = type;
        search.searchString.assign(code);
        search.minimumVersion.assign(minimum);
        return evaluator.IsPresent(search, {});
    };
    EXPECT_FALSE(present(search_type::kComponentInstalled, kSampleComponent, u""));
    EXPECT_FALSE(present(search_type::kProductVersion, kSampleProduct, u""));

    const std::wstring database = Wide(ProgramFolder()) + L"detection_sample.msi";
    ASSERT_EQ(RunProgram(L"msiexec.exe /i \"" + database + L"\" /qn"), 0);
    const bool component = present(search_type::kComponentInstalled, kSampleComponent, u"");
    const bool product = present(search_type::kProductVersion, kSampleProduct, u"2.7.1");
    const bool productTooOld = present(search_type::kProductVersion, kSampleProduct, u"2.8");
    const bool family = present(search_type::kRelatedVersions, kSampleUpgrade, u"2.7");
    const long removed = RunProgram(L"msiexec.exe /x \"" + database + L"\" /qn");

    EXPECT_TRUE(component);
    EXPECT_TRUE(product);
    EXPECT_FALSE(productTooOld);
    EXPECT_TRUE(family);
    EXPECT_EQ(removed, 0);
    EXPECT_FALSE(present(search_type::kComponentInstalled, kSampleComponent, u""));
}

}  // namespace
}  // namespace maglorin
