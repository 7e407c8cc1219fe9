#pragma once
// Drives this process's dialogs from a second thread the way a user would: wait for a window,
// read and set controls, press buttons. Every wait is bounded (polls every 20 ms, 60 s at most),
// so a dialog that never comes fails the test instead of hanging it.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

namespace maglorin::test_support {

inline bool WaitUntil(const std::function<bool()>& condition) {
    for (int attempt = 0; attempt < 3000; ++attempt) {
        if (condition()) return true;
        ::Sleep(20);
    }
    return false;
}

inline std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

inline std::wstring ClassName(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct DialogSearch {
    const std::function<bool(HWND)>* match;
    HWND found;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() && ::IsWindowVisible(window) && ClassName(window) == L"#32770" &&
        (*search->match)(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level dialog of this process that `match` accepts; null when none came.
inline HWND WaitForDialog(const std::function<bool(HWND)>& match) {
    DialogSearch search{&match, nullptr};
    const auto look = [&search] {
        search.found = nullptr;
        ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    };
    return WaitUntil(look) ? search.found : nullptr;
}

inline HWND WaitForDialogTitled(const std::wstring& title) {
    return WaitForDialog([&title](HWND window) { return WindowText(window) == title; });
}

inline std::wstring ControlText(HWND dialog, int id) { return WindowText(::GetDlgItem(dialog, id)); }
inline bool Visible(HWND dialog, int id) { return ::IsWindowVisible(::GetDlgItem(dialog, id)) != FALSE; }
inline bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

// Posted, so that a button whose handler opens another modal window never blocks the driver.
inline void Press(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

inline std::wstring ItemText(HWND list, int row, int column) {
    wchar_t text[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

inline bool ItemChecked(HWND list, int row) {
    const auto state = ::SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return ((static_cast<UINT>(state) & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

// What a click on the check box does: the list asks its owner first (LVN_ITEMCHANGING).
inline void SetItemChecked(HWND list, int row, bool checked) {
    LVITEMW item{};
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

inline BOOL CALLBACK TakeStaticText(HWND child, LPARAM parameter) {
    const std::wstring text = WindowText(child);
    if (::_wcsicmp(ClassName(child).c_str(), L"Static") == 0 && !text.empty()) {
        *reinterpret_cast<std::wstring*>(parameter) = text;
        return FALSE;
    }
    return TRUE;
}

// The text of a message box (its first static control with text), for telling it apart.
inline std::wstring MessageBoxText(HWND box) {
    std::wstring found;
    ::EnumChildWindows(box, TakeStaticText, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace maglorin::test_support
