// The launch conditions against the real system under Wine: the Windows version Wine reports
// to one program, the Xvfb screen, memory, registry values the tests write (and remove), the
// service manager, a local server standing in for the Internet sites, and the warning box.
// Only what Wine cannot answer is replaced: a 64-bit system and a user without rights.
#include "launch_conditions_win32.h"

#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "configuration_file.h"
#include "configuration_test_text.h"
#include "detection_system_win32.h"
#include "launch_condition_messages.h"
#include "version_resource_win32.h"
#include "windows_bitness_win32.h"

namespace maglorin {
namespace {

using test_support::IniSource;
using test_support::Printable;

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string U16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

ConfigurationFile Conditions(std::u16string_view lines) {
    return ConfigurationFile::Parse(IniSource(u"[GlobalLaunchConds]\r\n" + std::u16string(lines)));
}

std::wstring ProgramFolder() {
    const std::u16string path = RunningProgramPath();
    return Wide(path.substr(0, path.rfind(u'\\') + 1));
}

LaunchConditionsOptions Quiet() {
    LaunchConditionsOptions options;
    options.quiet = true;
    options.internetSites.clear();
    return options;
}

// ---- The probe: the Windows version Wine reports to one program ----

struct ProbeResult {
    std::u16string osName;
    int outcome = -1;
    int exitCode = -1;
    int check = -1;
    std::u16string message;
};

class ProbeRuns : public ::testing::Test {
protected:
    static constexpr wchar_t kAppDefaults[] = L"Software\\Wine\\AppDefaults\\launch_conditions_probe.exe";

    void TearDown() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, kAppDefaults);
        DeleteFileW(IniPath().c_str());
        DeleteFileW(ResultPath().c_str());
    }
    static std::wstring IniPath() { return ProgramFolder() + L"launch_conditions_probe.ini"; }
    static std::wstring ResultPath() { return ProgramFolder() + L"launch_conditions_probe.out"; }

    ProbeResult Run(const wchar_t* windowsVersion, std::u16string_view lines) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kAppDefaults, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(windowsVersion),
                       static_cast<DWORD>((wcslen(windowsVersion) + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        WriteBytes(IniPath(), IniSource(u"[GlobalLaunchConds]\r\n" + std::u16string(lines)));
        std::wstring commandLine = L"\"" + ProgramFolder() + L"launch_conditions_probe.exe\" \"" + IniPath() + L"\" \"" +
                                   ResultPath() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        ProbeResult result;
        if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
            ADD_FAILURE() << "the probe did not start";
            return result;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        EXPECT_EQ(code, 0u);
        return Parse(ReadText(ResultPath()));
    }

private:
    static void WriteBytes(const std::wstring& path, const std::vector<std::byte>& bytes) {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    static std::u16string ReadText(const std::wstring& path) {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return {};
        std::u16string text(4096, u'\0');
        DWORD read = 0;
        ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(char16_t)), &read, nullptr);
        CloseHandle(file);
        text.resize(read / sizeof(char16_t));
        return text;
    }
    static ProbeResult Parse(const std::u16string& text) {
        std::vector<std::u16string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find(u'\n', start)) != std::u16string::npos; start = end + 1) {
            lines.push_back(text.substr(start, end - start));
        }
        ProbeResult result;
        if (lines.size() < 5) return result;
        const auto number = [](const std::u16string& line) { return std::stoi(std::string(line.begin(), line.end())); };
        result.osName = lines[0];
        result.outcome = number(lines[1]);
        result.exitCode = number(lines[2]);
        result.check = number(lines[3]);
        result.message = lines[4];
        return result;
    }
};

TEST_F(ProbeRuns, OsNamesFromTheVersionWineReports) {
    // Wine 8 reports no product type for its "win7" setting, so that one is not named here; the
    // checks that go by version number (DirectX below) cover it.
    EXPECT_EQ(Printable(Run(L"win98", u"").osName), "Windows 98 SE");
    EXPECT_EQ(Printable(Run(L"nt40", u"").osName), "Windows NT 4.0 Service Pack 6");
    EXPECT_EQ(Printable(Run(L"win2k", u"").osName), "Windows 2000 Service Pack 4");
    EXPECT_EQ(Printable(Run(L"winxp", u"").osName), "Windows XP x86 Service Pack 3");
    // The probe runs in this tree's prefix, which is 64-bit Windows for the 64-bit tree. (Wine's
    // "winxp" is version 5.1, the 32-bit XP, in either prefix.)
    const std::string width = IsWindows64Bit() ? "x64" : "x86";
    EXPECT_EQ(Printable(Run(L"win2003", u"").osName), "Windows Server 2003 " + width + " Service Pack 2");
    EXPECT_EQ(Printable(Run(L"vista", u"").osName), "Windows Vista " + width + " Service Pack 2");
    EXPECT_EQ(Printable(Run(L"win2008", u"").osName), "Windows Server 2008 " + width);
    EXPECT_EQ(Printable(Run(L"win10", u"").osName), "OsNotIdentified");
}

TEST_F(ProbeRuns, FamilyOf9xExcludesOnlyThe9xSystems) {
    const std::u16string lines = u"Win9xVersions=Windows 9x/ME\r\nWin9xName=Windows 95, 98 and Me\r\n";
    const ProbeResult nine = Run(L"win98", lines);
    EXPECT_EQ(nine.check, 1);
    EXPECT_EQ(Printable(nine.message), "Torvexa Kit Studio can not be installed on Windows 95, 98 and Me");
    EXPECT_EQ(Run(L"winxp", lines).outcome, static_cast<int>(LaunchConditionsOutcome::Met));
}

TEST_F(ProbeRuns, ExcludedVersionFailsWithTheProductNameAndTheDisplayText) {
    // 64-bit Windows is checked against its own list.
    const std::u16string lines =
        IsWindows64Bit() ? u"WinNT64Versions=Windows 2000, Windows Vista x64 Service Pack 2\r\nWinNT64Name=Windows Vista\r\n"
                         : u"WinNTVersions=Windows 2000, Windows XP x86 Service Pack 3\r\nWinNTName=Windows XP\r\n";
    const ProbeResult xp = Run(IsWindows64Bit() ? L"vista" : L"winxp", lines);
    EXPECT_EQ(xp.outcome, static_cast<int>(LaunchConditionsOutcome::NotMet));
    EXPECT_EQ(xp.exitCode, 0);
    EXPECT_EQ(xp.check, 1);
    EXPECT_EQ(Printable(xp.message), std::string("Torvexa Kit Studio can not be installed on the following Windows versions: ") +
                                         (IsWindows64Bit() ? "Windows Vista" : "Windows XP"));
    EXPECT_EQ(Run(L"win7", lines).outcome, static_cast<int>(LaunchConditionsOutcome::Met));
}

TEST_F(ProbeRuns, DirectXTenByTheWindowsVersionOlderByTheRegistry) {
    const ProbeResult xp = Run(L"winxp", u"MinDirectXVer=10\r\n");
    EXPECT_EQ(xp.check, 11);
    EXPECT_EQ(Printable(xp.message),
              "Torvexa Kit Studio can not be installed on systems with DirectX version lower than 10");
    EXPECT_EQ(Run(L"vista", u"MinDirectXVer=10\r\n").outcome, static_cast<int>(LaunchConditionsOutcome::Met));
    EXPECT_EQ(Run(L"win7", u"MinDirectXVer=10\r\n").outcome, static_cast<int>(LaunchConditionsOutcome::Met));
    EXPECT_EQ(Run(L"win7", u"MinDirectXVer=11\r\n").outcome, static_cast<int>(LaunchConditionsOutcome::Met));
    EXPECT_EQ(Run(L"vista", u"MinDirectXVer=11\r\n").check, 11);
    // Wine's own DirectX registry version answers the older names.
    EXPECT_EQ(Run(L"winxp", u"MinDirectXVer=9.0c\r\n").outcome, static_cast<int>(LaunchConditionsOutcome::Met));
}

// ---- In this process: screen, colour, memory, registry ----

class SystemConditions : public ::testing::Test {
protected:
    LaunchConditionsRun Evaluate(std::u16string_view lines, bool forceInternet = false) {
        return RunLaunchConditions(Conditions(lines), forceInternet, options);
    }
    LaunchConditionsOptions options = Quiet();
};

TEST_F(SystemConditions, ScreenOfTheXvfbDisplay) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    ASSERT_GT(width, 0);
    const std::u16string exact = U16(std::to_wstring(width) + L"x" + std::to_wstring(height));
    EXPECT_EQ(Evaluate(u"MinScreenRes=" + exact + u"\r\n").outcome, LaunchConditionsOutcome::Met);
    const LaunchConditionsRun wider = Evaluate(u"MinScreenRes=" + U16(std::to_wstring(width + 1)) + u"x1\r\n");
    EXPECT_EQ(wider.outcome, LaunchConditionsOutcome::NotMet);
    EXPECT_EQ(wider.check, 5);
    EXPECT_EQ(Evaluate(u"MinScreenRes=1x" + U16(std::to_wstring(height + 1)) + u"\r\n").check, 5);
}

TEST_F(SystemConditions, ColourDepthAndMemory) {
    EXPECT_EQ(Evaluate(u"MinColorQuality=8\r\nMinPhisicalMem=16\r\n").outcome, LaunchConditionsOutcome::Met);
    const LaunchConditionsRun colour = Evaluate(u"MinColorQuality=64\r\n");
    EXPECT_EQ(colour.check, 6);
    EXPECT_EQ(Printable(colour.message),
              "Torvexa Kit Studio can not be installed on systems with colour quality lower than 64 bits.");
    EXPECT_EQ(Evaluate(u"MinPhisicalMem=999999999\r\n").check, 7);
}

class RegistryConditions : public SystemConditions {
protected:
    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full");
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45");
    }
    static void SetNumber(const wchar_t* keyPath, const wchar_t* name, DWORD number) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
        RegCloseKey(key);
    }
};

TEST_F(RegistryConditions, DotNetFromItsNumberValue) {
    const LaunchConditionsRun before = Evaluate(u"MinDotNETVer=3.5\r\n");
    EXPECT_EQ(before.outcome, LaunchConditionsOutcome::NotMet);
    EXPECT_EQ(before.check, 4);
    SetNumber(L"SOFTWARE\\Microsoft\\NET Framework Setup\\NDP\\v4\\Full", L"Install", 1);
    EXPECT_EQ(Evaluate(u"MinDotNETVer=3.5\r\n").outcome, LaunchConditionsOutcome::Met);
    EXPECT_EQ(Evaluate(u"MinDotNETVer=4.0\r\n").outcome, LaunchConditionsOutcome::Met);
}

TEST_F(RegistryConditions, JavaRuntimeFromItsSubkey) {
    EXPECT_EQ(Evaluate(u"MinJREVer=1.6\r\n").check, 12);
    SetNumber(L"SOFTWARE\\JavaSoft\\Java Runtime Environment\\1.6.0_45", L"MicroVersion", 0);
    EXPECT_EQ(Evaluate(u"MinJREVer=1.6\r\n").outcome, LaunchConditionsOutcome::Met);
    EXPECT_EQ(Evaluate(u"MinJREVer=1.7\r\n").check, 12);
}

TEST_F(SystemConditions, UnmappedValueIsAPackagingErrorNamingIt) {
    const LaunchConditionsRun result = Evaluate(u"MinDotNETVer=2.5\r\n");
    EXPECT_EQ(result.outcome, LaunchConditionsOutcome::PackagingError);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(Printable(result.message),
              "Torvexa Kit Studio can not be installed on systems with .NET Framework version lower than 2.5");
}

TEST_F(SystemConditions, TextsInTheUsersLanguageGoToTheGivenReporter) {
    std::vector<std::u16string> shown;
    options.textOf = [](int id) { return std::u16string(id == launch_message::kColour ? u"%s braucht %s Bit Farbtiefe." : u""); };
    options.report = [&shown](const std::u16string& text) { shown.push_back(text); };
    const LaunchConditionsRun colour = Evaluate(u"MinColorQuality=64\r\n");
    EXPECT_EQ(Printable(colour.message), "Torvexa Kit Studio braucht 64 Bit Farbtiefe.");
    const LaunchConditionsRun memory = Evaluate(u"MinPhisicalMem=999999999\r\n");  // no translation: English
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], colour.message);
    EXPECT_EQ(Printable(shown[1]),
              "Torvexa Kit Studio can not be installed on systems with less physical memory than 999999999 MB.");
    EXPECT_EQ(Evaluate(u"MinColorQuality=1\r\n").outcome, LaunchConditionsOutcome::Met);
    EXPECT_EQ(shown.size(), 2u);  // nothing reported when every condition is met
}

// ---- Administrator ----

TEST_F(SystemConditions, WinesUserIsAnAdministrator) {
    EXPECT_TRUE(SystemLaunchConditions().IsAdministrator());
    EXPECT_EQ(Evaluate(u"AdminPrivileges=\r\n").outcome, LaunchConditionsOutcome::Met);
}

class WithoutRights final : public SystemLaunchConditions {
public:
    bool IsAdministrator() override { return false; }
};

class SixtyFourBitSeven final : public SystemLaunchConditions {
public:
    OsIdentity Os() override { return OsIdentity{OsPlatform::Nt64, u"Windows 7 x64 Service Pack 1", 6, 1}; }
};

TEST_F(SystemConditions, UserWithoutRightsIsStopped) {
    WithoutRights system;
    SystemDetection detection(nullptr);
    const LaunchConditionsRun result =
        RunLaunchConditions(Conditions(u"AdminPrivileges=no\r\n"), false, options, system, detection);
    EXPECT_EQ(result.outcome, LaunchConditionsOutcome::NotMet);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Printable(result.message), "Torvexa Kit Studio requires administrative privileges to install.");
}

TEST_F(SystemConditions, SixtyFourBitFamilyExcludesA64BitSystem) {
    SixtyFourBitSeven system;
    SystemDetection detection(nullptr);
    const ConfigurationFile file = Conditions(u"WinNT64Versions=Windows XP/Vista/Windows7 x64\r\nWinNT64Name=64-bit Windows\r\n"
                                              u"WinNTVersions=Windows NT/2k/XP/Vista/Windows7 x86\r\n");
    const LaunchConditionsRun result = RunLaunchConditions(file, false, options, system, detection);
    EXPECT_EQ(result.check, 1);
    EXPECT_EQ(result.messageId, launch_message::kOsFamily);
    EXPECT_EQ(Printable(result.message), "Torvexa Kit Studio can not be installed on 64-bit Windows");
}

// ---- Internet: a local listener stands in for the sites ----

class LocalSites : public SystemConditions {
protected:
    void SetUp() override {
        WSADATA data;
        ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
        listener_ = Bound();
        ASSERT_NE(listener_, INVALID_SOCKET);
        ASSERT_EQ(listen(listener_, 8), 0);
        openSite_ = Address(listener_);
        const SOCKET closed = Bound();  // bound, then closed: nothing listens there
        closedSite_ = Address(closed);
        closesocket(closed);
    }
    void TearDown() override {
        closesocket(listener_);
        WSACleanup();
    }
    static SOCKET Bound() {
        const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        if (s == INVALID_SOCKET || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) return INVALID_SOCKET;
        return s;
    }
    static std::u16string Address(SOCKET s) {
        sockaddr_in address{};
        int length = sizeof(address);
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
        return U16(L"http://127.0.0.1:" + std::to_wstring(ntohs(address.sin_port)) + L"/");
    }

    SOCKET listener_ = INVALID_SOCKET;
    std::u16string openSite_, closedSite_;
};

TEST_F(LocalSites, FirstReachableSitePasses) {
    options.internetSites = {closedSite_, openSite_};
    EXPECT_EQ(Evaluate(u"ActiveInternetConnection=\r\n").outcome, LaunchConditionsOutcome::Met);
}

TEST_F(LocalSites, NoReachableSiteStopsWithTheConnectionText) {
    options.internetSites = {closedSite_, closedSite_};
    const LaunchConditionsRun result = Evaluate(u"ActiveInternetConnection=\r\n");
    EXPECT_EQ(result.check, 9);
    EXPECT_EQ(Printable(result.message),
              "Torvexa Kit Studio requires an active Internet connection for installation. Please check your network "
              "configuration and proxy settings.");
}

TEST_F(LocalSites, AnInstallFromAnAddressChecksTheConnectionUnasked) {
    options.internetSites = {closedSite_};
    EXPECT_EQ(Evaluate(u"", false).outcome, LaunchConditionsOutcome::Met);
    EXPECT_EQ(Evaluate(u"", true).check, 9);
    options.internetSites = {openSite_};
    EXPECT_EQ(Evaluate(u"", true).outcome, LaunchConditionsOutcome::Met);
}

// ---- The warning box ----

TEST(LaunchConditionReport, WarningBoxWithTheCaptionAndTheText) {
    LaunchConditionsOptions options;
    options.caption = u"Maglorin report test";
    std::wstring shown;
    bool closed = false;
    std::thread watcher([&] {
        // Bounded: the box appears within a few hundred rounds or the test fails.
        for (int round = 0; round < 1000 && !closed; ++round) {
            if (const HWND box = FindWindowW(L"#32770", L"Maglorin report test")) {
                wchar_t text[512] = {};
                GetDlgItemTextW(box, 0xFFFF, text, 512);
                shown = text;
                closed = PostMessageW(box, WM_COMMAND, IDOK, 0) != FALSE;
            }
            Sleep(20);
        }
    });
    ReportLaunchCondition(u"Torvexa Kit Studio requires administrative privileges to install.", options);
    watcher.join();
    EXPECT_TRUE(closed);
    EXPECT_EQ(Printable(U16(shown)), "Torvexa Kit Studio requires administrative privileges to install.");
}

}  // namespace
}  // namespace maglorin
