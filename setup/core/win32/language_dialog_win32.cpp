#include "language_dialog_win32.h"

#include <cwctype>

#include "dialog_template_win32.h"

namespace maglorin {

namespace {

constexpr int kPromptId = 100;
constexpr int kListId = 101;

struct DialogState {
    const std::vector<std::uint16_t>* languages = nullptr;
    std::uint16_t preselected = 0;
    std::optional<std::uint16_t> chosen;
};

void FillList(HWND list, const DialogState& state) {
    for (const std::uint16_t language : *state.languages) {
        const std::wstring name = NativeLanguageName(language);
        const LRESULT index = ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
        if (index < 0) continue;
        ::SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), language);
    }
    const int count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        if (::SendMessageW(list, CB_GETITEMDATA, index, 0) == state.preselected) {
            ::SendMessageW(list, CB_SETCURSEL, index, 0);
            return;
        }
    }
    ::SendMessageW(list, CB_SETCURSEL, 0, 0);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        FillList(::GetDlgItem(dialog, kListId), *reinterpret_cast<DialogState*>(lParam));
        return TRUE;
    }
    if (message != WM_COMMAND || state == nullptr) return FALSE;
    if (LOWORD(wParam) == IDOK) {
        const LRESULT index = ::SendDlgItemMessageW(dialog, kListId, CB_GETCURSEL, 0, 0);
        if (index >= 0) {
            state->chosen = static_cast<std::uint16_t>(::SendDlgItemMessageW(dialog, kListId, CB_GETITEMDATA, index, 0));
        }
        ::EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

std::wstring NativeLanguageName(std::uint16_t languageId) {
    wchar_t name[128] = {};
    if (::GetLocaleInfoW(MAKELCID(languageId, SORT_DEFAULT), LOCALE_SNATIVELANGNAME, name, 128) <= 1) {
        return std::to_wstring(languageId);
    }
    std::wstring text(name);
    ::CharUpperBuffW(text.data(), 1);
    return text;
}

std::optional<std::uint16_t> AskLanguage(HWND owner, const std::wstring& caption, const std::vector<std::uint16_t>& languages,
                                         std::uint16_t preselected) {
    DialogTemplate layout(caption.c_str(), 200, 80);
    layout.Add(L"STATIC", L"Please select a language:", kPromptId, SS_LEFT, 10, 10, 180, 10);
    layout.Add(L"COMBOBOX", L"", kListId, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP, 10, 25, 180, 100);
    layout.Add(L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 45, 55, 50, 14);
    layout.Add(L"BUTTON", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 105, 55, 50, 14);
    DialogState state;
    state.languages = &languages;
    state.preselected = preselected;
    const INT_PTR answer = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), owner, DialogProc,
                                                     reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) return std::nullopt;
    return state.chosen;
}

}  // namespace maglorin
