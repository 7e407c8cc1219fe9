// Loading setup.ini the way setup.exe does on Windows: out of its own running program file, and
// from a file another process holds open.
#include "configuration_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "configuration_test_text.h"

namespace maglorin {
namespace {

std::filesystem::path RunningProgram() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, length));
}

TEST(ConfigurationFileOnWindows, ReadsAWindowOfTheRunningProgram) {
    const std::filesystem::path program = RunningProgram();
    const std::uint64_t size = std::filesystem::file_size(program);
    ASSERT_GT(size, 4096u);
    ConfigurationFile file;
    EXPECT_EQ(LoadConfigurationFile(program, 1024, 2048, file), kConfigurationLoaded);
    EXPECT_EQ(LoadConfigurationFile(program, size - 2, 2, file), kConfigurationLoaded);
    EXPECT_EQ(LoadConfigurationFile(program, size - 2, 3, file), kConfigurationReadError);
}

TEST(ConfigurationFileOnWindows, ReadsAFileThatIsOpenForWriting) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("maglorin_ini_" + std::to_string(GetCurrentProcessId()) + ".ini");
    {
        const std::vector<std::byte> bytes = test_support::IniSource(u"[GeneralOptions]\r\nKeepFiles=complete\r\n");
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const HANDLE writer = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ConfigurationFile file;
    EXPECT_EQ(LoadConfigurationFile(path, file), kConfigurationLoaded);
    CloseHandle(writer);
    ASSERT_NE(file.FindKey(u"GeneralOptions", u"KeepFiles"), nullptr);
    EXPECT_EQ(*file.FindKey(u"GeneralOptions", u"KeepFiles"), u"complete");
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace maglorin
