#pragma once
// The conditions a machine must meet before setup installs anything, as the package author
// wrote them into the GlobalLaunchConds section of setup.ini, and their evaluation: 23 checks in
// a fixed order, the first failure ending it. The checks ask the machine through the detection
// searches and through LaunchConditionSystem (setup's own answers in
// win32/launch_conditions_win32.h; tables in tests).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "configuration_file.h"
#include "detection_search.h"
#include "os_identity.h"

namespace maglorin {

// Every field is the key's text, empty when the key is absent.
struct LaunchConditions {
    std::u16string win9xVersions, win9xName;
    std::u16string winNtVersions, winNtName;
    std::u16string winNt64Versions, winNt64Name;
    std::u16string minIeVersion, minIeVersionName;
    std::u16string minIisVersion;
    std::u16string minDotNetVersion;
    std::u16string minScreenResolution;
    std::u16string minColourQuality;
    std::u16string minPhysicalMemory;
    bool adminPrivileges = false;           // the key is present, whatever its value
    bool activeInternetConnection = false;  // likewise; also switched on by MainAppURL
    std::u16string minAcrobatReaderVersion;
    std::u16string minDirectXVersion;
    std::u16string minJreVersion;
    std::u16string minJdkVersion;
    std::u16string officeApplication;
    int officeRelease = 0;  // 2003, 2007 or 2010: the key that named the application
    std::u16string xnaFramework;
    std::u16string sqlExpress;
    std::u16string sqlCompact;
    std::u16string activeSync;
    std::u16string office2003Interop, office2007Interop, office2010Interop, officeSharedInterop;
    std::u16string officeToolsRuntime;
};

// A missing section leaves every field empty: every condition passes.
LaunchConditions ReadLaunchConditions(const ConfigurationFile& configuration);

struct ScreenSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};

// What the checks ask the machine beyond the detection searches.
class LaunchConditionSystem {
public:
    virtual ~LaunchConditionSystem() = default;
    virtual OsIdentity Os() = 0;
    virtual ScreenSize PrimaryScreen() = 0;
    virtual std::int64_t ColourBits() = 0;
    virtual std::uint64_t PhysicalMemoryBytes() = 0;
    virtual bool IsAdministrator() = 0;
    // Whether a connection to the site can be made now (a forced check).
    virtual bool CanReach(std::u16string_view site) = 0;
};

enum class LaunchConditionsOutcome {
    Met,             // every condition passed: go on
    NotMet,          // one failed; its message tells the user (setup ends with 0)
    PackagingError,  // setup.ini holds a value no table maps: the package is broken (exit 1)
};

struct LaunchConditionsVerdict {
    LaunchConditionsOutcome outcome = LaunchConditionsOutcome::Met;
    int check = 0;           // 1 to 23: the check that decided; 0 when all passed
    int messageId = 0;       // its text (launch_condition_messages.h)
    std::u16string argument; // the second "%s" of the text
};

// Evaluates the conditions in order and stops at the first that is not met. `sites`: the
// Internet sites tried in turn by the connection check.
[[nodiscard]] LaunchConditionsVerdict CheckLaunchConditions(const LaunchConditions& conditions,
                                                            LaunchConditionSystem& system,
                                                            const SearchEvaluator& searches,
                                                            const std::vector<std::u16string>& sites);

// The three well-known sites setup asks for by default.
std::vector<std::u16string> DefaultInternetSites();

}  // namespace maglorin
