#include "resume_registration_win32.h"

#include <mstask.h>
#include <versionhelpers.h>

#include <vector>

#include "extraction_paths.h"
#include "resume_names.h"
#include "win32_handles.h"

namespace maglorin {

namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kHiddenRunOnlyIfLoggedOn = TASK_FLAG_HIDDEN | TASK_FLAG_RUN_ONLY_IF_LOGGED_ON;  // 0x2200

std::wstring Wide(const std::u16string& text) { return PathFromUtf16(text); }
std::u16string Utf16(const std::wstring& text) { return Utf16FromPath(text); }

// Starts the scheduler service when it is not running; failures surface when the work item is used.
void MakeSureSchedulerRuns() {
    const ServiceHandle manager(::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT));
    if (!manager) return;
    const ServiceHandle service(::OpenServiceW(manager.Get(), L"Schedule", SERVICE_QUERY_STATUS | SERVICE_START));
    if (!service) return;
    SERVICE_STATUS status{};
    if (::QueryServiceStatus(service.Get(), &status) && status.dwCurrentState != SERVICE_RUNNING) {
        ::StartServiceW(service.Get(), 0, nullptr);
    }
}

// The scheduler service reads a work item's file as soon as it appears or changes and holds it
// shared for reading only; a delete or save that meets that moment fails with a sharing
// violation and is tried again, for a second at most.
template <typename Call>
HRESULT RetryWhileTheServiceReads(Call call) {
    constexpr int kTries = 20;
    constexpr DWORD kPauseMs = 50;
    HRESULT result = call();
    for (int tried = 1; tried < kTries && result == HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION); ++tried) {
        ::Sleep(kPauseMs);
        result = call();
    }
    return result;
}

HRESULT DeleteWorkItem(ITaskScheduler& scheduler, const std::wstring& itemName) {
    return RetryWhileTheServiceReads([&] { return scheduler.Delete(itemName.c_str()); });
}

ComInterface<ITaskScheduler> OpenScheduler() {
    ComInterface<ITaskScheduler> scheduler;
    ::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                       reinterpret_cast<void**>(scheduler.Receive()));
    return scheduler;
}

// "DOMAIN\user" of the current user; empty when the user name cannot be read.
std::wstring AccountName() {
    wchar_t user[257] = {};
    DWORD userChars = 257;
    if (!::GetUserNameW(user, &userChars)) return {};
    std::wstring domain(256, L'\0');
    const DWORD domainChars = ::GetEnvironmentVariableW(L"UserDomain", domain.data(), static_cast<DWORD>(domain.size()));
    domain.resize(domainChars < domain.size() ? domainChars : 0);
    return domain + L"\\" + user;
}

bool AddLogonTrigger(ITask& task) {
    WORD index = 0;
    ComInterface<ITaskTrigger> trigger;
    if (FAILED(task.CreateTrigger(&index, trigger.Receive()))) return false;
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    TASK_TRIGGER settings{};
    settings.cbTriggerSize = sizeof(settings);
    settings.wBeginYear = today.wYear;
    settings.wBeginMonth = today.wMonth;
    settings.wBeginDay = today.wDay;
    settings.TriggerType = TASK_EVENT_TRIGGER_AT_LOGON;
    return SUCCEEDED(trigger.Get()->SetTrigger(&settings));
}

bool DescribeTask(ITask& task, const std::wstring& packagePath, const std::wstring& arguments) {
    if (FAILED(task.SetApplicationName(Wide(WorkItemApplication(Utf16(packagePath))).c_str()))) return false;
    if (FAILED(task.SetParameters(arguments.c_str()))) return false;
    if (FAILED(task.SetWorkingDirectory(L""))) return false;
    if (FAILED(task.SetComment(const_cast<wchar_t*>(L"")))) return false;
    const std::wstring account = AccountName();
    if (account.empty() || FAILED(task.SetAccountInformation(account.c_str(), nullptr))) return false;
    if (FAILED(task.SetMaxRunTime(INFINITE))) return false;
    if (FAILED(task.SetFlags(kHiddenRunOnlyIfLoggedOn))) return false;
    return AddLogonTrigger(task);
}

bool SaveTask(ITask& task) {
    ComInterface<IPersistFile> file;
    if (FAILED(task.QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive())))) return false;
    return SUCCEEDED(RetryWhileTheServiceReads([&] { return file.Get()->Save(nullptr, TRUE); }));
}

}  // namespace

bool RegisterWorkItemNamed(const std::wstring& itemName, const std::wstring& packagePath, const std::wstring& arguments) {
    const ComScope com;
    MakeSureSchedulerRuns();
    const ComInterface<ITaskScheduler> scheduler = OpenScheduler();
    if (!scheduler) return false;
    static_cast<void>(DeleteWorkItem(*scheduler.Get(), itemName));  // a registration of the same package is replaced
    ComInterface<ITask> task;
    if (FAILED(scheduler.Get()->NewWorkItem(itemName.c_str(), CLSID_CTask, IID_ITask,
                                            reinterpret_cast<IUnknown**>(task.Receive())))) {
        return false;
    }
    if (!DescribeTask(*task.Get(), packagePath, arguments) || !SaveTask(*task.Get())) {
        static_cast<void>(DeleteWorkItem(*scheduler.Get(), itemName));  // no half-described item stays behind
        return false;
    }
    return true;
}

bool RemoveWorkItemNamed(const std::wstring& itemName) {
    const ComScope com;
    MakeSureSchedulerRuns();
    const ComInterface<ITaskScheduler> scheduler = OpenScheduler();
    if (!scheduler) return false;
    return SUCCEEDED(DeleteWorkItem(*scheduler.Get(), itemName));
}

bool RegisterResumeWorkItem(const std::wstring& packagePath, const std::wstring& arguments) {
    return RegisterWorkItemNamed(Wide(WorkItemName(Utf16(packagePath))), packagePath, arguments);
}

bool RemoveResumeWorkItem(const std::wstring& packagePath) {
    return RemoveWorkItemNamed(Wide(WorkItemName(Utf16(packagePath))));
}

bool RegisterResumeRunValue(const std::wstring& packagePath, const std::wstring& arguments) {
    RegistryKeyHandle key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::wstring name = Wide(RunValueName(Utf16(packagePath)));
    DWORD bytes = 0;
    const bool exists = ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, &bytes) == ERROR_SUCCESS;
    if (!RunValueNeedsWriting(exists ? std::optional<std::size_t>(bytes) : std::nullopt)) return true;
    const std::wstring data = Wide(RunValueData(Utf16(packagePath), Utf16(arguments)));
    return ::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                            static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool RemoveResumeRunValue(const std::wstring& packagePath) {
    RegistryKeyHandle key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS) return false;
    return ::RegDeleteValueW(key.Get(), Wide(RunValueName(Utf16(packagePath))).c_str()) == ERROR_SUCCESS;
}

bool RegisterResume(const std::wstring& packagePath, const std::wstring& arguments) {
    if (::IsWindowsVistaOrGreater() && RegisterResumeWorkItem(packagePath, arguments)) return true;
    return RegisterResumeRunValue(packagePath, arguments);
}

void RemoveResume(const std::wstring& packagePath) {
    if (::IsWindowsVistaOrGreater() && RemoveResumeWorkItem(packagePath)) return;
    static_cast<void>(RemoveResumeRunValue(packagePath));  // a missing value is nothing to remove
}

namespace {

bool EnableShutdownPrivilege() {
    TokenHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.Receive())) return false;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) return false;
    if (!::AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr)) return false;
    return ::GetLastError() == ERROR_SUCCESS;  // ERROR_NOT_ALL_ASSIGNED: the privilege is not held
}

}  // namespace

bool AskAndRestart(HWND owner, bool silent, const std::wstring& question, const std::wstring& caption,
                   const RestartCalls& calls) {
    if (!silent) {
        const int answer = calls.ask ? calls.ask(owner, question, caption)
                                     : ::MessageBoxW(owner, question.c_str(), caption.c_str(), MB_YESNO | MB_ICONINFORMATION);
        if (answer != IDYES) return true;
    }
    if (!EnableShutdownPrivilege()) return false;
    if (calls.requestRestart) {
        static_cast<void>(calls.requestRestart(kRestartFlags, kRestartReason));
    } else {
        ::ExitWindowsEx(kRestartFlags, kRestartReason);
    }
    return false;
}

}  // namespace maglorin
