#pragma once
// The registration that runs setup again when the user next logs on after a restart: a Task
// Scheduler work item, or a value under the user's Run key when the work item cannot be made.
// Also the restart itself, whose final request goes through a replaceable call.

#include <windows.h>

#include <functional>
#include <string>

namespace maglorin {

// Registers the package path with its option tail: the work item on Windows 6.0 and later, the
// Run value otherwise or when the work item fails. True when either was written (or an existing
// Run value kept).
[[nodiscard]] bool RegisterResume(const std::wstring& packagePath, const std::wstring& arguments);

// Removes the registration of the package path: the work item, or else the Run value.
void RemoveResume(const std::wstring& packagePath);

// The two ways one at a time, for callers that need one of them.
[[nodiscard]] bool RegisterResumeWorkItem(const std::wstring& packagePath, const std::wstring& arguments);
[[nodiscard]] bool RemoveResumeWorkItem(const std::wstring& packagePath);
// The work item under a name given by the caller.
[[nodiscard]] bool RegisterWorkItemNamed(const std::wstring& itemName, const std::wstring& packagePath,
                                         const std::wstring& arguments);
[[nodiscard]] bool RemoveWorkItemNamed(const std::wstring& itemName);
[[nodiscard]] bool RegisterResumeRunValue(const std::wstring& packagePath, const std::wstring& arguments);
[[nodiscard]] bool RemoveResumeRunValue(const std::wstring& packagePath);

// The restart question and the restart request. The defaults show a message box and call
// ExitWindowsEx; tests replace both.
struct RestartCalls {
    std::function<int(HWND owner, const std::wstring& text, const std::wstring& caption)> ask;
    std::function<bool(UINT flags, DWORD reason)> requestRestart;
};

// Shows the question (text and caption given by the caller, Yes/No) unless silent; on Yes
// enables the shutdown privilege and requests a restart that forces only hung programs closed.
// True when the user declined.
[[nodiscard]] bool AskAndRestart(HWND owner, bool silent, const std::wstring& question, const std::wstring& caption,
                                 const RestartCalls& calls = {});

// The restart request's flags and reason: a reboot, forcing only programs that do not answer;
// planned, application, installation.
constexpr UINT kRestartFlags = EWX_REBOOT | EWX_FORCEIFHUNG;
constexpr DWORD kRestartReason = 0x80040002;

}  // namespace maglorin
