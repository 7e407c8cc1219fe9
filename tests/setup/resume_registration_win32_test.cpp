// The resume registration against the real Task Scheduler and registry under Wine, and the
// restart path up to the final request, which the tests replace: a real restart would end the
// whole Wine session.

#include <windows.h>
#include <mstask.h>

#include <gtest/gtest.h>

#include <iostream>
#include <thread>

#include "resume_registration_win32.h"
#include "win32_handles.h"

namespace maglorin {
namespace {

constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::wstring> RunValue(const std::wstring& name) {
    RegistryKeyHandle key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return std::nullopt;
    wchar_t data[1024] = {};
    DWORD bytes = sizeof(data) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    return std::wstring(data);
}

void SetRunValue(const std::wstring& name, const std::wstring& data) {
    RegistryKeyHandle key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// A package path of `length` characters under a folder with a blank.
std::wstring PackagePath(std::size_t length) {
    std::wstring path = L"C:\\maglorin resume\\";
    while (path.size() + 4 < length) path += static_cast<wchar_t>(L'a' + path.size() % 26);
    return path + L".exe";
}

class SchedulerSession : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { ::CoUninitialize(); }

    static ComInterface<ITask> Activate(const std::wstring& name) {
        ComInterface<ITaskScheduler> scheduler;
        EXPECT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_CTaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskScheduler,
                                                 reinterpret_cast<void**>(scheduler.Receive()))));
        ComInterface<ITask> task;
        if (scheduler) {
            scheduler.Get()->Activate(name.c_str(), IID_ITask, reinterpret_cast<IUnknown**>(task.Receive()));
        }
        return task;
    }
};

std::wstring TakeText(LPWSTR text) {
    std::wstring copy = text != nullptr ? text : L"";
    ::CoTaskMemFree(text);
    return copy;
}

// The work item as the scheduler stores it, under a name without a dot: Wine's scheduler turns
// down every item name that holds one, so there the ".job" names below fall back to Run values.
TEST_F(SchedulerSession, WorkItemRunsThePackageAtLogon) {
    const std::wstring path = L"C:\\maglorin resume\\work item\\setup.exe";
    const std::wstring name = L"maglorin resume work item";
    ASSERT_TRUE(RegisterWorkItemNamed(name, path, L"/exelang 1031"));
    {
        const ComInterface<ITask> task = Activate(name);
        ASSERT_TRUE(task) << "no work item named " << std::string(name.begin(), name.end());
        LPWSTR text = nullptr;
        ASSERT_TRUE(SUCCEEDED(task.Get()->GetApplicationName(&text)));
        const std::wstring application = TakeText(text);
        EXPECT_TRUE(application == L"\"" + path + L"\"" || application == path) << "the package itself runs";
        ASSERT_TRUE(SUCCEEDED(task.Get()->GetParameters(&text)));
        EXPECT_EQ(TakeText(text), L"/exelang 1031");
        DWORD flags = 0;
        ASSERT_TRUE(SUCCEEDED(task.Get()->GetFlags(&flags)));
        EXPECT_EQ(flags & 0x2200u, 0x2200u);
        WORD triggers = 0;
        ASSERT_TRUE(SUCCEEDED(task.Get()->GetTriggerCount(&triggers)));
        ASSERT_EQ(triggers, 1);
        ComInterface<ITaskTrigger> trigger;
        ASSERT_TRUE(SUCCEEDED(task.Get()->GetTrigger(0, trigger.Receive())));
        TASK_TRIGGER settings{};
        settings.cbTriggerSize = sizeof(settings);
        ASSERT_TRUE(SUCCEEDED(trigger.Get()->GetTrigger(&settings)));
        EXPECT_EQ(settings.TriggerType, TASK_EVENT_TRIGGER_AT_LOGON);
    }
    // A second registration replaces the item.
    ASSERT_TRUE(RegisterWorkItemNamed(name, path, L"/q"));
    EXPECT_TRUE(Activate(name));
    EXPECT_TRUE(RemoveWorkItemNamed(name));
    EXPECT_FALSE(Activate(name)) << "the work item is gone";
    EXPECT_FALSE(RemoveWorkItemNamed(name)) << "nothing left to remove";
}

// The scheduler service opens a new or changed item's file for reading, shared for reading only;
// removing the item at that moment must wait for the service, not report failure.
TEST_F(SchedulerSession, RemovalWaitsWhileTheServiceReadsTheItem) {
    const std::wstring name = L"maglorin resume busy item";
    ASSERT_TRUE(RegisterWorkItemNamed(name, L"C:\\maglorin resume\\setup.exe", L"/q"));
    wchar_t windows[MAX_PATH] = {};
    ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    const std::wstring file = std::wstring(windows) + L"\\Tasks\\" + name + L".job";
    FileHandle reader;
    for (int tried = 0; tried < 50 && !reader; ++tried) {  // the service itself may hold it a moment
        reader.Reset(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!reader) ::Sleep(20);
    }
    ASSERT_TRUE(reader) << "the work item's file is where the scheduler keeps it";
    std::thread release([&reader] {
        ::Sleep(300);
        reader.Reset();
    });
    const bool removed = RemoveWorkItemNamed(name);
    release.join();
    EXPECT_TRUE(removed);
    EXPECT_EQ(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Under the package's own names: the ".job" work item where the scheduler takes it, otherwise the
// Run value; either is found under its exact name and removed again.
TEST_F(SchedulerSession, RegistrationIsFoundAndRemovedUnderItsExactName) {
    const std::wstring path = L"C:\\maglorin resume\\work:item\\setup.exe";
    const std::wstring itemName = L"C__maglorin resume_work_item_setup.exe.job";
    ASSERT_TRUE(RegisterResume(path, L"/q"));
    const bool asWorkItem = static_cast<bool>(Activate(itemName));
    std::cout << (asWorkItem ? "registered as work item\n" : "registered as Run value\n");
    if (asWorkItem) {
        EXPECT_FALSE(RunValue(path)) << "one registration only";
    } else {
        EXPECT_EQ(RunValue(path), L"\"" + path + L"\" /q");
    }
    RemoveResume(path);
    EXPECT_FALSE(Activate(itemName));
    EXPECT_FALSE(RunValue(path));
}

TEST(ResumeRunValue, LongPathIsNamedByItsLast79Characters) {
    const std::wstring path = PackagePath(100);
    const std::wstring name = path.substr(100 - 79);
    ASSERT_TRUE(RegisterResumeRunValue(path, L"/q"));
    EXPECT_EQ(RunValue(name), L"\"" + path + L"\" /q");
    EXPECT_FALSE(RunValue(path)) << "never under the whole path";
    // That value is longer than 200 bytes, so the next registration writes it again.
    ASSERT_TRUE(RegisterResumeRunValue(path, L"/exelang 1036"));
    EXPECT_EQ(RunValue(name), L"\"" + path + L"\" /exelang 1036");
    // A short existing value stays untouched.
    SetRunValue(name, L"kept");
    ASSERT_TRUE(RegisterResumeRunValue(path, L"/q"));
    EXPECT_EQ(RunValue(name), L"kept");
    EXPECT_TRUE(RemoveResumeRunValue(path));
    EXPECT_FALSE(RunValue(name));
    EXPECT_FALSE(RemoveResumeRunValue(path));
}

TEST(ResumeRunValue, QuotesABlankPathWithoutArgumentsAndRewritesLongValues) {
    const std::wstring path = L"C:\\Program Files\\maglorin resume\\setup.exe";
    ASSERT_TRUE(RegisterResumeRunValue(path, L""));
    EXPECT_EQ(RunValue(path), L"\"" + path + L"\"") << "never runs C:\\Program.exe";
    SetRunValue(path, std::wstring(101, L'x'));  // 204 bytes with its terminator
    ASSERT_TRUE(RegisterResumeRunValue(path, L"/q"));
    EXPECT_EQ(RunValue(path), L"\"" + path + L"\" /q");
    EXPECT_TRUE(RemoveResumeRunValue(path));
}

struct RestartRecord {
    int questions = 0;
    int requests = 0;
    UINT flags = 0;
    DWORD reason = 0;
    bool privilegeEnabled = false;
    std::wstring text;
};

bool ShutdownPrivilegeEnabled() {
    TokenHandle token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return false;
    PRIVILEGE_SET set{};
    set.PrivilegeCount = 1;
    if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &set.Privilege[0].Luid)) return false;
    BOOL held = FALSE;
    return ::PrivilegeCheck(token.Get(), &set, &held) && held;
}

RestartCalls Recording(RestartRecord& record, int answer) {
    RestartCalls calls;
    calls.ask = [&record, answer](HWND, const std::wstring& text, const std::wstring&) {
        ++record.questions;
        record.text = text;
        return answer;
    };
    calls.requestRestart = [&record](UINT flags, DWORD reason) {
        ++record.requests;
        record.flags = flags;
        record.reason = reason;
        record.privilegeEnabled = ShutdownPrivilegeEnabled();
        return true;
    };
    return calls;
}

TEST(AskAndRestart, AnswerDecidesAndOnlyHungProgramsAreForced) {
    {
        RestartRecord record;
        const std::wstring path = L"C:\\maglorin resume\\declined\\setup.exe";
        ASSERT_TRUE(RegisterResumeRunValue(path, L"/q"));
        EXPECT_TRUE(AskAndRestart(nullptr, false, L"restart?", L"Confirmation", Recording(record, IDNO)));
        EXPECT_EQ(record.questions, 1);
        EXPECT_EQ(record.text, L"restart?");
        EXPECT_EQ(record.requests, 0) << "No leaves the system running";
        EXPECT_TRUE(RunValue(path)) << "and the registration in place";
        EXPECT_TRUE(RemoveResumeRunValue(path));
    }
    for (const bool silent : {false, true}) {
        RestartRecord record;
        EXPECT_FALSE(AskAndRestart(nullptr, silent, L"restart?", L"Confirmation", Recording(record, IDYES)));
        EXPECT_EQ(record.questions, silent ? 0 : 1);
        ASSERT_EQ(record.requests, 1);
        EXPECT_EQ(record.flags, static_cast<UINT>(EWX_REBOOT | EWX_FORCEIFHUNG));
        EXPECT_EQ(record.flags & EWX_FORCE, 0u) << "nobody's unsaved work is thrown away";
        EXPECT_EQ(record.reason, 0x80040002u);
        EXPECT_TRUE(record.privilegeEnabled) << "the shutdown privilege is enabled before the request";
    }
}

}  // namespace
}  // namespace maglorin
