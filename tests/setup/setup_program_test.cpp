// The real setup.exe under Wine, on packages made by make_setup_packages.sh: run modes, the
// extraction command, "/cmdloc", the single-instance lock, the integrity check and the log.
// Every run goes through the exit-code runner, which answers the message boxes and records them.

#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "exit_code_runner.h"
#include "payload_reader.h"

namespace maglorin {
namespace {

using test_support::ProgramRun;
using test_support::RunProgram;

namespace fs = std::filesystem;

fs::path PackageFolder() { return fs::absolute(fs::path(L"testdata") / L"setup-program"); }
fs::path Package(const std::wstring& name) { return PackageFolder() / (name + L".exe"); }

ProgramRun RunSetup(const fs::path& program, const std::wstring& arguments) {
    const std::wstring commandLine = L"\"" + program.wstring() + L"\" " + arguments;
    return RunProgram(program.wstring(), commandLine);
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A fresh folder of its own for one test (its name holds a blank).
fs::path FreshFolder(const std::wstring& name) {
    const fs::path folder = fs::temp_directory_path() / (L"flow test " + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class SetupProgram : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(PackageFolder() / L"ready")) << "packages not made"; }
};

TEST_F(SetupProgram, HelpShowsTheOptionsAndExitsZeroEvenWithExenouiBehindIt) {
    for (const std::wstring arguments : {L"/?", L"/help /exenoui"}) {
        const ProgramRun run = RunSetup(Package(L"plain"), arguments);
        ASSERT_TRUE(run.finished) << Narrow(arguments);
        EXPECT_EQ(test_support::SignedExitCode(run), 0);
        ASSERT_EQ(run.dialogs.size(), 1u) << Narrow(arguments);
        EXPECT_EQ(run.dialogs[0].caption, L"plain Options");
        EXPECT_EQ(run.dialogs[0].text.rfind(L"Command Line:\nplain [options]\noptions:\n", 0), 0u)
            << Narrow(run.dialogs[0].text);
    }
}

TEST_F(SetupProgram, ListLanguagesShowsBuiltInThenLibraryLanguages) {
    const ProgramRun run = RunSetup(Package(L"plain"), L"/listlangs");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    ASSERT_EQ(run.dialogs.size(), 1u);
    EXPECT_EQ(run.dialogs[0].caption, L"plain Languages");
    EXPECT_EQ(run.dialogs[0].text.rfind(L"1033-", 0), 0u) << Narrow(run.dialogs[0].text);
    EXPECT_NE(run.dialogs[0].text.find(L"\r\n1031-"), std::wstring::npos) << Narrow(run.dialogs[0].text);
}

TEST_F(SetupProgram, ExtractWritesThePayloadIntoTheNamedFolder) {
    const fs::path quoted = FreshFolder(L"extract quoted");
    const ProgramRun blankForm = RunSetup(Package(L"plain"), L"/extract \"" + quoted.wstring() + L"\"");
    ASSERT_TRUE(blankForm.finished);
    EXPECT_EQ(test_support::SignedExitCode(blankForm), 0);
    EXPECT_TRUE(blankForm.dialogs.empty());
    EXPECT_EQ(ReadText(quoted / L"MAIN" / L"main.msi"), "main installer database\n");
    EXPECT_EQ(ReadText(quoted / L"pre" / L"pre.exe"), "prerequisite program\n");

    const fs::path colon = FreshFolder(L"extract colon");
    const ProgramRun colonForm = RunSetup(Package(L"plain"), L"/extract:\"" + colon.wstring() + L"\"");
    EXPECT_EQ(test_support::SignedExitCode(colonForm), 0);
    EXPECT_EQ(ReadText(colon / L"MAIN" / L"main.msi"), "main installer database\n");
}

TEST_F(SetupProgram, ExtractToAMissingFolderUsesTheFolderOfSetup) {
    const fs::path folder = FreshFolder(L"extract missing");
    fs::copy_file(Package(L"plain"), folder / L"plain.exe");
    const ProgramRun run = RunSetup(folder / L"plain.exe", L"/extract:\"" + (folder / L"missing").wstring() + L"\"");
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    EXPECT_FALSE(fs::exists(folder / L"missing"));
    EXPECT_EQ(ReadText(folder / L"MAIN" / L"main.msi"), "main installer database\n");
}

TEST_F(SetupProgram, ExtractOfAPackageThatOffersNothingWritesNothing) {
    const fs::path folder = FreshFolder(L"extract nothing");
    const ProgramRun run = RunSetup(Package(L"noextract"), L"/extract:\"" + folder.wstring() + L"\"");
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(SetupProgram, FailedMainPackageExtractionExitsOneWithoutAMessage) {
    const ProgramRun run = RunSetup(Package(L"nodecoder"), L"/extractlzma");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(test_support::SignedExitCode(run), 1);
    EXPECT_TRUE(run.dialogs.empty());
}

TEST_F(SetupProgram, MainPackageIsExtractedInPlaceAndDeletedOnRequest) {
    const fs::path folder = fs::temp_directory_path() / L"FLOWLZM";
    fs::remove_all(folder);
    const ProgramRun extract = RunSetup(Package(L"lzma"), L"/extractlzma");
    ASSERT_TRUE(extract.finished);
    EXPECT_EQ(test_support::SignedExitCode(extract), 0);
    EXPECT_TRUE(extract.dialogs.empty());
    EXPECT_EQ(ReadText(folder / L"setup.msi"), "installer database\n") << "left in place after the run";

    const ProgramRun remove = RunSetup(Package(L"lzma"), L"/deletelzma");
    EXPECT_EQ(test_support::SignedExitCode(remove), 0);
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(SetupProgram, GroupsAreExtractedIntoTheOutFolder) {
    const fs::path folder = FreshFolder(L"groups");
    const ProgramRun run =
        RunSetup(Package(L"plain"), L"/groupsextract:\"100;\" /out:\"" + folder.wstring() + L"\" /exenoui");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    EXPECT_EQ(ReadText(folder / L"pre" / L"pre.exe"), "prerequisite program\n");
    EXPECT_FALSE(fs::exists(folder / L"MAIN")) << "only the listed group";
}

TEST_F(SetupProgram, DigestMismatchIsAFailure) {
    const ProgramRun corrupt = RunSetup(Package(L"corrupt"), L"");
    ASSERT_TRUE(corrupt.finished);
    EXPECT_EQ(test_support::SignedExitCode(corrupt), 1);
    ASSERT_EQ(corrupt.dialogs.size(), 1u);
    EXPECT_EQ(corrupt.dialogs[0].text, L"This archive is corrupted.");

    // The same package unchanged passes the check and stops at the next one.
    const ProgramRun intact = RunSetup(Package(L"intact"), L"");
    EXPECT_EQ(test_support::SignedExitCode(intact), 0);
    ASSERT_EQ(intact.dialogs.size(), 1u);
    EXPECT_EQ(intact.dialogs[0].text,
              L"Maglorin can not be installed on systems with Windows Installer version lower than 99.0.");
}

TEST_F(SetupProgram, SecondCopyOfTheSamePackageSeesTheLockUnlessItRunsWithoutInterface) {
    PayloadReader reader;
    ASSERT_EQ(reader.Open(Package(L"oldwi-lock")), 0);
    const std::string digest = reader.DigestText();
    const std::wstring lockName = L"Torvexa_" + std::wstring(digest.begin(), digest.end());
    const HANDLE lock = ::CreateMutexW(nullptr, FALSE, lockName.c_str());
    ASSERT_NE(lock, nullptr);

    const ProgramRun second = RunSetup(Package(L"oldwi-lock"), L"");
    EXPECT_EQ(test_support::SignedExitCode(second), 0);
    ASSERT_EQ(second.dialogs.size(), 1u);
    EXPECT_EQ(second.dialogs[0].text, L"Another instance of setup is already running.");

    const fs::path log = FreshFolder(L"lock") / L"setup.log";
    const ProgramRun silent = RunSetup(Package(L"oldwi-lock"), L"/exenoui /exelog:\"" + log.wstring() + L"\"");
    EXPECT_EQ(test_support::SignedExitCode(silent), 0);
    EXPECT_TRUE(silent.dialogs.empty());
    EXPECT_NE(ReadText(log).find("message: Maglorin can not be installed"), std::string::npos) << ReadText(log);
    ::CloseHandle(lock);

    const ProgramRun alone = RunSetup(Package(L"oldwi-lock"), L"");
    ASSERT_EQ(alone.dialogs.size(), 1u);
    EXPECT_NE(alone.dialogs[0].text.find(L"Windows Installer version lower than 99.0."), std::wstring::npos);
}

TEST_F(SetupProgram, LogRecordsStepsMessagesAndExitCodeButNoSecrets) {
    const fs::path log = FreshFolder(L"log") / L"setup log.txt";
    const ProgramRun run = RunSetup(
        Package(L"oldwi-log"),
        L"/exenoui /exelog:\"" + log.wstring() + L"\" /password:\"top secret\" /qn DBPASSWORD=hunter2 X=1");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    EXPECT_TRUE(run.dialogs.empty()) << "a quiet run shows nothing";
    const std::string text = ReadText(log);
    EXPECT_NE(text.find("/password:\"****\""), std::string::npos) << text;
    EXPECT_NE(text.find("DBPASSWORD=****"), std::string::npos) << text;
    EXPECT_NE(text.find("step: Preparing...\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("message: Maglorin can not be installed on systems with Windows Installer version lower "
                        "than 99.0.\r\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("exit code: 0\r\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("top secret"), std::string::npos) << text;
    EXPECT_EQ(text.find("hunter2"), std::string::npos) << text;
}

// The command line stored under HKCU\Software\TorvexaFlowTest; `other` adds a second value.
void StoreCommandLine(const std::wstring& commandLine, bool other) {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\TorvexaFlowTest", 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegSetValueExW(key, L"Cmd", 0, REG_SZ, reinterpret_cast<const BYTE*>(commandLine.c_str()),
                     static_cast<DWORD>((commandLine.size() + 1) * sizeof(wchar_t)));
    if (other) ::RegSetValueExW(key, L"Other", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"x"), 2 * sizeof(wchar_t));
    ::RegCloseKey(key);
}

bool ValueExists(const wchar_t* name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\TorvexaFlowTest", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    const bool exists = ::RegQueryValueExW(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return exists;
}

bool KeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\TorvexaFlowTest", 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    ::RegCloseKey(key);
    return true;
}

TEST_F(SetupProgram, CmdlocReadsTheCommandLineFromTheRegistryAndRemovesIt) {
    const fs::path log = FreshFolder(L"cmdloc") / L"setup.log";
    StoreCommandLine(L"/exenoui /exelog:\"" + log.wstring() + L"\" /qn", false);
    const ProgramRun run = RunSetup(Package(L"oldwi-cmdloc"), L"/cmdloc HKCU\\Software\\TorvexaFlowTest\\Cmd");
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    EXPECT_TRUE(run.dialogs.empty()) << "the stored command line made the run quiet";
    EXPECT_NE(ReadText(log).find("command line: /exenoui /exelog:"), std::string::npos) << ReadText(log);
    EXPECT_FALSE(KeyExists()) << "the key was left empty, so it goes too";

    StoreCommandLine(L"/exenoui", true);
    const ProgramRun keep = RunSetup(Package(L"oldwi-cmdloc"), L"/cmdloc \"HKCU\\Software\\TorvexaFlowTest\\Cmd\"");
    EXPECT_EQ(test_support::SignedExitCode(keep), 0);
    EXPECT_TRUE(keep.dialogs.empty());
    EXPECT_FALSE(ValueExists(L"Cmd"));
    EXPECT_TRUE(ValueExists(L"Other")) << "a key with other values stays";
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\TorvexaFlowTest");
}

TEST_F(SetupProgram, SilentRunInstallsTheProductThroughTheInstallerService) {
    const wchar_t* const productCode = L"{B85B8633-1607-430E-912C-F9300B3C5FF4}";
    const fs::path log = FreshFolder(L"install") / L"install.log";
    const ProgramRun run =
        RunSetup(Package(L"install"), L"/exenoui /exelog:\"" + log.wstring() + L"\" /qn REBOOT=ReallySuppress");
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(test_support::SignedExitCode(run), 0) << ReadText(log);
    EXPECT_TRUE(run.dialogs.empty());
    EXPECT_EQ(::MsiQueryProductStateW(productCode), INSTALLSTATE_DEFAULT) << ReadText(log);
    EXPECT_NE(ReadText(log).find("exit code: 0\r\n"), std::string::npos) << ReadText(log);

    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring msiexec = std::wstring(system) + L"\\msiexec.exe";
    const ProgramRun removal = RunProgram(msiexec, L"msiexec.exe /x " + std::wstring(productCode) + L" /qn");
    EXPECT_EQ(test_support::SignedExitCode(removal), 0);
    EXPECT_NE(::MsiQueryProductStateW(productCode), INSTALLSTATE_DEFAULT);
}

}  // namespace
}  // namespace maglorin

namespace maglorin {
namespace {

// The package with setup's German and French language libraries.
TEST_F(SetupProgram, ListLanguagesNamesTheBuiltInAndBothLibraryLanguages) {
    const ProgramRun run = RunSetup(Package(L"languages"), L"/listlangs");
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    ASSERT_EQ(run.dialogs.size(), 1u);
    const std::wstring& text = run.dialogs[0].text;
    EXPECT_EQ(text.rfind(L"1033-English", 0), 0u) << Narrow(text);
    const std::size_t german = text.find(L"\r\n1031-German");
    const std::size_t french = text.find(L"\r\n1036-French");
    EXPECT_NE(german, std::wstring::npos) << Narrow(text);
    EXPECT_NE(french, std::wstring::npos) << Narrow(text);
    EXPECT_LT(german, french) << "in table order";
}

TEST_F(SetupProgram, ExelangSwitchesTextsAndTitleToTheLibraryLanguage) {
    const fs::path folder = FreshFolder(L"exelang");
    struct Case {
        const wchar_t* language;
        const char* title;
        const char* status;      // the status text after the language step, as logged
        const char* transforms;  // what msiexec is handed for the language
    };
    const Case cases[] = {
        {L"1031", "Maglorin-Setup", "step: Startbedingungen werden gepr", "TRANSFORMS=\":1031\""},
        {L"1036", "Installation de Maglorin", "valuation des conditions de lancement...", "TRANSFORMS=\":1036\""},
        {L"2057", "Maglorin Setup", "step: Evaluating launch conditions...", nullptr},
    };
    for (const auto& [language, title, status, transforms] : cases) {
        const fs::path log = folder / (std::wstring(language) + L".log");
        const ProgramRun run =
            RunSetup(Package(L"languages"), L"/exelang " + std::wstring(language) + L" /exenoui /exelog:\"" + log.wstring() + L"\"");
        ASSERT_TRUE(run.finished);
        const std::string text = ReadText(log);
        EXPECT_NE(text.find(std::string("window title: ") + title), std::string::npos) << text;
        EXPECT_NE(text.find(status), std::string::npos) << "messages in the chosen language\n" << text;
        if (transforms != nullptr) {
            EXPECT_NE(text.find(transforms), std::string::npos) << text;
        } else {
            EXPECT_EQ(text.find("TRANSFORMS="), std::string::npos) << text;
        }
        if (std::wstring(language) == L"2057") {
            EXPECT_NE(text.find("language: 0 (not fixed)"), std::string::npos) << "an unavailable id is ignored\n" << text;
        } else {
            EXPECT_NE(text.find("language: " + Narrow(language) + " (fixed)"), std::string::npos) << text;
        }
    }
}

ProgramRun RunInstaller(const std::wstring& arguments) {
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring msiexec = std::wstring(system) + L"\\msiexec.exe";
    return RunProgram(msiexec, L"\"" + msiexec + L"\" " + arguments);
}

TEST_F(SetupProgram, ReRunAfterAFrenchInstallSpeaksFrenchWithoutAsking) {
    const std::wstring kit = (PackageFolder() / L"frenchkit.msi").wstring();
    ASSERT_EQ(test_support::SignedExitCode(RunInstaller(L"/i \"" + kit + L"\" /qn")), 0);
    const fs::path log = FreshFolder(L"french rerun") / L"setup.log";
    const ProgramRun run = RunSetup(Package(L"frenchrerun"), L"/exelog:\"" + log.wstring() + L"\"");
    EXPECT_EQ(test_support::SignedExitCode(RunInstaller(L"/x \"" + kit + L"\" /qn")), 0);
    ASSERT_TRUE(run.finished);
    for (const auto& dialog : run.dialogs) {
        EXPECT_EQ(dialog.text.find(L"Please select a language"), std::wstring::npos) << "asked although installed";
    }
    const std::string text = ReadText(log);
    EXPECT_NE(text.find("language: 1036 (fixed), window title: Installation de Maglorin"), std::string::npos) << text;
}

}  // namespace
}  // namespace maglorin
