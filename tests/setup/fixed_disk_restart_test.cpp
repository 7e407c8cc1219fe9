// The restart from a removable drive under Wine: the copy in the temporary folder, its start
// with "/OriginalPath:" and the kept options, and the script that deletes the copy afterwards.
// (Which drives are fixed is the system's answer; the decision itself is tested natively.)

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "exit_code_runner.h"
#include "fixed_disk_restart_win32.h"
#include "restart_plan.h"

namespace maglorin {
namespace {

namespace fs = std::filesystem;

fs::path Package(const std::wstring& name) { return fs::absolute(fs::path(L"testdata") / L"setup-program" / (name + L".exe")); }

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Polls (bounded) until the file is gone; the deleting script runs on its own.
bool DisappearsWithin(const fs::path& file, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (!fs::exists(file)) return true;
        ::Sleep(100);
    }
    return !fs::exists(file);
}

// Polls (bounded) until the log holds the text: the started copy runs on its own.
bool LogGains(const fs::path& log, const std::string& text, int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (ReadText(log).find(text) != std::string::npos) return true;
        ::Sleep(100);
    }
    return false;
}

fs::path FreshFolder(const std::wstring& name) {
    const fs::path folder = fs::temp_directory_path() / (L"flow restart " + name);
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

TEST(SelfDeleteScript, RemovesAReadOnlyFileAndItself) {
    const fs::path file = fs::temp_directory_path() / L"flow self delete.bin";
    std::ofstream(file) << "copy";
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(file.c_str(), shortPath, MAX_PATH), 0u);
    char narrow[MAX_PATH] = {};
    ::WideCharToMultiByte(CP_ACP, 0, shortPath, -1, narrow, MAX_PATH, nullptr, nullptr);
    ScheduleSelfDelete(narrow);
    EXPECT_TRUE(DisappearsWithin(file, 60));
}

TEST(FixedDiskRestart, CopyRunsFromTheTemporaryFolderKeepsOptionsAndDeletesItself) {
    const fs::path folder = FreshFolder(L"drive");
    const fs::path original = folder / L"flowrestart.exe";
    fs::copy_file(Package(L"oldwi-log"), original);
    const fs::path log = folder / L"restart.log";
    const fs::path copy = fs::temp_directory_path() / L"flowrestart.exe";
    fs::remove(copy);

    SetupLog parentLog;
    const ParsedCommandLine parsed = ParseCommandLine(u"/exenoui /exelog:\"" + log.u16string() + u"\" /password:pw /qn");
    ASSERT_EQ(RestartFromTemporaryCopy(original.wstring(), original.wstring(), parsed, parentLog), 0);

    ASSERT_TRUE(LogGains(log, "exit code: 0", 60)) << ReadText(log);
    const std::string text = ReadText(log);
    EXPECT_NE(text.find("package: " + original.string()), std::string::npos) << text;
    EXPECT_NE(text.find("restarted copy: deleted at exit"), std::string::npos) << text;
    EXPECT_NE(text.find("user interface: none"), std::string::npos) << "the copy stays quiet\n" << text;
    EXPECT_NE(text.find("command line: /OriginalPath:"), std::string::npos) << text;
    EXPECT_EQ(text.find("/password"), std::string::npos) << "the password never reaches the copy\n" << text;
    EXPECT_TRUE(DisappearsWithin(copy, 60));
    EXPECT_TRUE(fs::exists(original));
}

TEST(FixedDiskRestart, HandTypedOriginalPathNeverDeletesTheProgram) {
    // The worst case: the user's own setup lies in the temporary folder itself.
    const fs::path program = fs::temp_directory_path() / L"flowhandtyped.exe";
    fs::remove(program);
    fs::copy_file(Package(L"oldwi-log"), program);
    const fs::path log = FreshFolder(L"hand") / L"hand.log";
    const std::wstring commandLine = L"\"" + program.wstring() + L"\" /OriginalPath:\"" + program.wstring() +
                                     L"\" /exenoui /exelog:\"" + log.wstring() + L"\"";
    const test_support::ProgramRun run = test_support::RunProgram(program.wstring(), commandLine);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(test_support::SignedExitCode(run), 0);
    EXPECT_NE(ReadText(log).find("restarted copy: not this flow's temporary copy, kept at exit"), std::string::npos)
        << ReadText(log);
    EXPECT_TRUE(fs::exists(program));
    fs::remove(program);
}

}  // namespace
}  // namespace maglorin
