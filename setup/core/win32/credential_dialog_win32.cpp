#include "credential_dialog_win32.h"

#include <vector>

#include "dialog_template_win32.h"
#include "message_text.h"
#include "prerequisite_wizard_model.h"
#include "setup_string_ids.h"
#include "wide_text.h"

namespace maglorin {
namespace {

constexpr int kTextId = 100;
constexpr int kUserLabelId = 101;
constexpr int kUserId = 102;
constexpr int kPasswordLabelId = 103;
constexpr int kPasswordId = 104;

struct DialogState {
    std::u16string caption, text, userLabel, passwordLabel, cancel;
    Credentials* answer = nullptr;
};

std::u16string ControlText(HWND dialog, int control) {
    const int length = ::GetWindowTextLengthW(::GetDlgItem(dialog, control));
    std::vector<wchar_t> text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    ::GetDlgItemTextW(dialog, control, text.data(), static_cast<int>(text.size()));
    return std::u16string(text.data(), text.data() + std::char_traits<wchar_t>::length(text.data()));
}

void Init(HWND dialog, DialogState& state) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    ::SetWindowTextW(dialog, WideText(state.caption));
    ::SetDlgItemTextW(dialog, kTextId, WideText(state.text));
    ::SetDlgItemTextW(dialog, kUserLabelId, WideText(state.userLabel));
    ::SetDlgItemTextW(dialog, kPasswordLabelId, WideText(state.passwordLabel));
    ::SetDlgItemTextW(dialog, IDCANCEL, WideText(state.cancel));
    ::SetDlgItemTextW(dialog, kUserId, WideText(state.answer->userName));
    ::SetForegroundWindow(dialog);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        Init(dialog, *reinterpret_cast<DialogState*>(lParam));
        return TRUE;
    }
    if (message != WM_COMMAND || state == nullptr) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        state->answer->userName = ControlText(dialog, kUserId);
        state->answer->password = ControlText(dialog, kPasswordId);
        ::SetDlgItemTextW(dialog, kPasswordId, L"");  // no copy of the password left in the control
        ::EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:
        ::EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

std::u16string TextOf(const std::function<std::u16string(int id)>& texts, int id) {
    return texts ? texts(id) : BuiltInWizardText(id);
}

}  // namespace

bool AskForCredentials(HWND owner, const std::u16string& caption, const std::u16string& text,
                       const std::function<std::u16string(int id)>& texts, Credentials& answer) {
    DialogTemplate layout(L"", 240, 120);
    layout.Add(L"STATIC", L"", kTextId, SS_LEFT, 7, 7, 226, 36);
    layout.Add(L"STATIC", L"", kUserLabelId, SS_LEFT, 7, 50, 60, 10);
    layout.Add(L"EDIT", L"", kUserId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 70, 48, 163, 13);
    layout.Add(L"STATIC", L"", kPasswordLabelId, SS_LEFT, 7, 68, 60, 10);
    layout.Add(L"EDIT", L"", kPasswordId, ES_AUTOHSCROLL | ES_PASSWORD | WS_BORDER | WS_TABSTOP, 70, 66, 163, 13);
    // "OK" reads the same in every language the package carries.
    layout.Add(L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 126, 99, 50, 14);
    layout.Add(L"BUTTON", L"", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 183, 99, 50, 14);

    Credentials entered{answer.userName, {}};
    DialogState state{caption, text, TextOf(texts, kStringCredentialUserName), TextOf(texts, kStringCredentialPassword),
                      TextOf(texts, kStringButtonCancel), &entered};
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), owner, DialogProc,
                                                     reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    answer = std::move(entered);
    return true;
}

bool CredentialDialogPrompt::Find(const std::u16string& server, const std::u16string& realm, Credentials& found) {
    const auto stored = accepted_.find({server, realm});
    if (stored == accepted_.end()) return false;
    found = stored->second;
    return true;
}

bool CredentialDialogPrompt::Ask(const std::u16string& server, const std::u16string& realm, const void* ownerWindow,
                                 Credentials& answer) {
    const std::u16string caption = FormatText(TextOf(texts_, kStringConnectTo), {server});
    const std::u16string text = FormatText(TextOf(texts_, kStringCredentialsRequired), {server, realm});
    HWND owner = static_cast<HWND>(const_cast<void*>(ownerWindow));
    return AskForCredentials(owner != nullptr && ::IsWindow(owner) ? owner : nullptr, caption, text, texts_, answer);
}

void CredentialDialogPrompt::Remember(const std::u16string& server, const std::u16string& realm,
                                      const Credentials& accepted) {
    accepted_[{server, realm}] = accepted;
}

}  // namespace maglorin
