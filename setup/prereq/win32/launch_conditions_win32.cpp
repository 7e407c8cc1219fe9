#include "launch_conditions_win32.h"

#include <windows.h>
#include <wininet.h>

#include "detection_system_win32.h"
#include "launch_condition_messages.h"
#include "reference_lookups_win32.h"
#include "reference_resolver.h"
#include "version_resource_win32.h"
#include "win32_handles.h"
#include "windows_bitness_win32.h"

namespace maglorin {

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// The configured Internet check, plus the one MainAppURL brings.
LaunchConditions ConditionsOf(const ConfigurationFile& configuration, bool forceInternetCheck) {
    LaunchConditions conditions = ReadLaunchConditions(configuration);
    conditions.activeInternetConnection = conditions.activeInternetConnection || forceInternetCheck;
    return conditions;
}

std::u16string ProductNameFor(const LaunchConditionsOptions& options) {
    if (!options.productName.empty()) return options.productName;
    return ReadVersionString(RunningProgramPath(), u"ProductName").value_or(std::u16string());
}

}  // namespace

OsVersionInfo ReadOsVersionInfo() {
    OsVersionInfo info;
    OSVERSIONINFOEXW extended{};
    extended.dwOSVersionInfoSize = sizeof(extended);
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) {
        info.extended = true;
        info.servicePackMajor = extended.wServicePackMajor;
        info.workstation = extended.wProductType == VER_NT_WORKSTATION;
    } else {
        extended.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&extended))) return info;
    }
    info.platformId = extended.dwPlatformId;
    info.major = extended.dwMajorVersion;
    info.minor = extended.dwMinorVersion;
    info.buildNumber = extended.dwBuildNumber;
    info.servicePackText.assign(extended.szCSDVersion, extended.szCSDVersion + wcsnlen(extended.szCSDVersion, 128));
    return info;
}

OsIdentity SystemLaunchConditions::Os() { return IdentifyOs(ReadOsVersionInfo(), IsWindows64Bit()); }

ScreenSize SystemLaunchConditions::PrimaryScreen() {
    return ScreenSize{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

std::int64_t SystemLaunchConditions::ColourBits() {
    const ScreenDcHandle screen(GetDC(nullptr));
    if (!screen) return 0;
    return GetDeviceCaps(screen.Get(), BITSPIXEL);
}

std::uint64_t SystemLaunchConditions::PhysicalMemoryBytes() {
    // GlobalMemoryStatusEx is bound at run time: the oldest systems only have GlobalMemoryStatus.
    using StatusEx = BOOL(WINAPI*)(LPMEMORYSTATUSEX);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto statusEx = kernel == nullptr ? nullptr
                                            : reinterpret_cast<StatusEx>(reinterpret_cast<void*>(
                                                  GetProcAddress(kernel, "GlobalMemoryStatusEx")));
    if (statusEx != nullptr) {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        if (statusEx(&status)) return status.ullTotalPhys;
    }
    MEMORYSTATUS status{};
    status.dwLength = sizeof(status);
    GlobalMemoryStatus(&status);
    return status.dwTotalPhys;
}

bool SystemLaunchConditions::IsAdministrator() {
    const ServiceManagerHandle manager(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_LOCK));
    if (!manager) return false;
    const ServiceDatabaseLockHandle lock(LockServiceDatabase(manager.Get()));
    return lock.IsValid() || GetLastError() == ERROR_SERVICE_DATABASE_LOCKED;
}

bool SystemLaunchConditions::CanReach(std::u16string_view site) {
    return InternetCheckConnectionW(Wide(site).c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE;
}

void ReportLaunchCondition(const std::u16string& text, const LaunchConditionsOptions& options) {
    const std::wstring wide = Wide(text);
    if (options.quiet) {
        OutputDebugStringW(wide.c_str());
        return;
    }
    const std::wstring caption = Wide(options.caption);
    MessageBoxW(nullptr, wide.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING);
}

LaunchConditionsRun RunLaunchConditions(const ConfigurationFile& configuration, bool forceInternetCheck,
                                                const LaunchConditionsOptions& options, LaunchConditionSystem& system,
                                                DetectionSystem& detection) {
    SystemReferenceLookups lookups;
    const ReferenceResolver resolver(lookups, options.setupExeDir);
    const SearchEvaluator searches(detection, resolver, nullptr, options.log);
    const LaunchConditionsVerdict verdict =
        CheckLaunchConditions(ConditionsOf(configuration, forceInternetCheck), system, searches, options.internetSites);
    LaunchConditionsRun result;
    result.outcome = verdict.outcome;
    result.check = verdict.check;
    result.messageId = verdict.messageId;
    if (verdict.outcome == LaunchConditionsOutcome::Met) return result;
    result.exitCode = verdict.outcome == LaunchConditionsOutcome::PackagingError ? 1 : 0;
    const std::u16string translated = options.textOf ? options.textOf(verdict.messageId) : std::u16string();
    result.message = translated.empty()
                         ? FormatLaunchConditionMessage(verdict.messageId, ProductNameFor(options), verdict.argument)
                         : FillLaunchConditionText(translated, ProductNameFor(options), verdict.argument);
    if (options.log != nullptr) {
        options.log->Write((verdict.outcome == LaunchConditionsOutcome::PackagingError
                                ? u"Launch condition with a value setup does not know: "
                                : u"Launch condition not met: ") +
                           result.message);
    }
    if (options.report) {
        options.report(result.message);
    } else {
        ReportLaunchCondition(result.message, options);
    }
    return result;
}

LaunchConditionsRun RunLaunchConditions(const ConfigurationFile& configuration, bool forceInternetCheck,
                                                const LaunchConditionsOptions& options) {
    SystemLaunchConditions system;
    SystemDetection detection(options.msi);
    return RunLaunchConditions(configuration, forceInternetCheck, options, system, detection);
}

}  // namespace maglorin
