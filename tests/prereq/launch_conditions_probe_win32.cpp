// Evaluates the launch conditions of a setup.ini in a process of its own, so the tests can set
// the Windows version Wine reports to this program alone (AppDefaults\<exe>\Version).
//   launch_conditions_probe.exe <setup.ini> <result file>
// The result file holds UTF-16LE lines: the system's name, the outcome (0 met, 1 not met,
// 2 packaging error), the exit code, the deciding check, the reported text, and the version
// numbers read (for failure messages).
#include <windows.h>

#include <string>

#include "configuration_file.h"
#include "launch_conditions_win32.h"

namespace {

std::u16string Number(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// "platform major.minor.build sp N workstation W".
std::u16string VersionLine() {
    const maglorin::OsVersionInfo info = maglorin::ReadOsVersionInfo();
    return Number(static_cast<int>(info.platformId)) + u" " + Number(static_cast<int>(info.major)) + u"." +
           Number(static_cast<int>(info.minor)) + u"." + Number(static_cast<int>(info.buildNumber)) + u" sp " +
           Number(info.servicePackMajor) + u" workstation " + Number(info.workstation ? 1 : 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    maglorin::ConfigurationFile configuration;
    if (maglorin::LoadConfigurationFile(argv[1], configuration) != maglorin::kConfigurationLoaded) return 3;
    maglorin::LaunchConditionsOptions options;
    options.quiet = true;
    options.internetSites.clear();
    const maglorin::LaunchConditionsRun result = maglorin::RunLaunchConditions(configuration, false, options);
    const std::u16string text = maglorin::SystemLaunchConditions().Os().name + u"\n" +
                                Number(static_cast<int>(result.outcome)) + u"\n" + Number(result.exitCode) + u"\n" +
                                Number(result.check) + u"\n" + result.message + u"\n" + VersionLine() + u"\n";
    const HANDLE file = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 4;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(char16_t)), &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 5;
}
