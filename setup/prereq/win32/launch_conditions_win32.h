#pragma once
// The launch conditions as setup runs them: the machine's own answers (version information,
// screen, memory, the service manager's lock, WinINet), the report of a failed condition (a
// warning box, or the debugger output when quiet) and the one entry point of the main flow.
// Windows only; the header stays free of <windows.h>.

#include <functional>
#include <string>
#include <vector>

#include "configuration_file.h"
#include "launch_conditions.h"

namespace maglorin {

class MsiLibrary;

// The system's answers. Not final: tests replace the answers Wine cannot give (a 64-bit
// system in a 32-bit tree, a user without administrator rights).
class SystemLaunchConditions : public LaunchConditionSystem {
public:
    OsIdentity Os() override;
    ScreenSize PrimaryScreen() override;
    std::int64_t ColourBits() override;
    std::uint64_t PhysicalMemoryBytes() override;
    // The service control manager opens with lock access and its database can be locked (and is
    // unlocked at once), or is locked by someone else already.
    bool IsAdministrator() override;
    // InternetCheckConnectionW, forcing a connection.
    bool CanReach(std::u16string_view site) override;
};

// The version information as the system reports it (extended form when it has one).
OsVersionInfo ReadOsVersionInfo();

struct LaunchConditionsOptions {
    bool quiet = false;             // report to the debugger output instead of a message box
    std::u16string caption;         // the bootstrapper's caption for the message box
    std::u16string setupExeDir;     // for "[SETUPEXEDIR]" in search paths
    std::u16string productName;     // empty: ProductName of the running program's version resource
    std::vector<std::u16string> internetSites = DefaultInternetSites();
    SearchLog* log = nullptr;       // may be null
    MsiLibrary* msi = nullptr;      // loaded msi.dll for the interop checks; may be null
    // The text of a string id in the user's language; empty: the built-in English texts.
    std::function<std::u16string(int messageId)> textOf;
    // Shows a failed condition's text; empty: ReportLaunchCondition (warning box or debugger).
    std::function<void(const std::u16string& text)> report;
};

struct LaunchConditionsRun {
    LaunchConditionsOutcome outcome = LaunchConditionsOutcome::Met;
    int exitCode = 0;               // for NotMet 0, for PackagingError 1; Met: go on
    int check = 0;                  // the check that decided, 1 to 23
    int messageId = 0;
    std::u16string message;         // the text reported; empty when met
};

// Reads GlobalLaunchConds, evaluates every condition and reports the first that fails.
// `forceInternetCheck`: the package installs from MainAppURL, so the Internet connection is a
// condition even when setup.ini does not ask for it.
[[nodiscard]] LaunchConditionsRun RunLaunchConditions(const ConfigurationFile& configuration, bool forceInternetCheck,
                                                      const LaunchConditionsOptions& options);

// The same with the machine's answers given (tests replace some of them).
[[nodiscard]] LaunchConditionsRun RunLaunchConditions(const ConfigurationFile& configuration, bool forceInternetCheck,
                                                      const LaunchConditionsOptions& options,
                                                      LaunchConditionSystem& system, DetectionSystem& detection);

// Shows a failed condition's text: a warning box with the caption, or the debugger output.
void ReportLaunchCondition(const std::u16string& text, const LaunchConditionsOptions& options);

}  // namespace maglorin
