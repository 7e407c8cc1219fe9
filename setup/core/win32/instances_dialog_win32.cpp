#include "instances_dialog_win32.h"

#include "dialog_template_win32.h"
#include "wide_text.h"

#include <commctrl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace maglorin {

namespace {

constexpr int kTextId = 100;
constexpr int kListId = 101;
constexpr int kNewInstanceId = 102;
constexpr int kMaintainId = 103;

struct DialogState {
    const InstanceSelection* selection = nullptr;
    InstanceDialogModel model;
    std::wstring text;
    InstanceDialogChoice choice;
};

int SelectedRow(HWND dialog) {
    return static_cast<int>(::SendDlgItemMessageW(dialog, kListId, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void UpdateOk(HWND dialog) {
    const bool maintain = ::IsDlgButtonChecked(dialog, kMaintainId) == BST_CHECKED;
    const bool newInstance = ::IsDlgButtonChecked(dialog, kNewInstanceId) == BST_CHECKED;
    ::EnableWindow(::GetDlgItem(dialog, IDOK), newInstance || (maintain && SelectedRow(dialog) >= 0));
}

void FillList(HWND list, const DialogState& state) {
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    const wchar_t* headings[] = {L"Product Name", L"Install Location"};
    for (int column = 0; column < 2; ++column) {
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.cx = column == 0 ? 170 : 260;
        header.pszText = const_cast<wchar_t*>(headings[column]);
        ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
    }
    const auto& instances = state.selection->instances;
    for (std::size_t row = 0; row < state.model.rows.size(); ++row) {
        const InstanceRecord& record = instances[state.model.rows[row]];
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<wchar_t*>(WideText(record.installedProductName));
        item.lParam = static_cast<LPARAM>(state.model.rows[row]);
        const auto index = ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        LVITEMW location{};
        location.iSubItem = 1;
        location.pszText = const_cast<wchar_t*>(WideText(record.installedLocation));
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&location));
    }
}

void InitDialog(HWND dialog, DialogState& state) {
    ::SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&state));
    ::SetDlgItemTextW(dialog, kTextId, state.text.c_str());
    ::SetDlgItemTextW(dialog, kNewInstanceId, WideText(state.model.newInstanceCaption));
    FillList(::GetDlgItem(dialog, kListId), state);
    ::EnableWindow(::GetDlgItem(dialog, kNewInstanceId), state.model.newInstanceAvailable);
    ::CheckRadioButton(dialog, kNewInstanceId, kMaintainId,
                       state.model.newInstancePreselected ? kNewInstanceId : kMaintainId);
    UpdateOk(dialog);
}

// OK: false when the choice is not complete (maintain without a row).
bool TakeChoice(HWND dialog, DialogState& state) {
    if (::IsDlgButtonChecked(dialog, kNewInstanceId) == BST_CHECKED) {
        state.choice = {InstanceMode::NewInstance, std::nullopt};
        return true;
    }
    const int row = SelectedRow(dialog);
    if (row < 0 || static_cast<std::size_t>(row) >= state.model.rows.size()) {
        return false;
    }
    state.choice = {InstanceMode::Maintain, state.model.rows[static_cast<std::size_t>(row)]};
    return true;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<DialogState*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        InitDialog(dialog, *reinterpret_cast<DialogState*>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (state != nullptr && header->idFrom == kListId && header->code == LVN_ITEMCHANGED) {
            if (SelectedRow(dialog) >= 0) {  // picking an instance means maintaining it
                ::CheckRadioButton(dialog, kNewInstanceId, kMaintainId, kMaintainId);
            }
            UpdateOk(dialog);
        }
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kNewInstanceId:
        case kMaintainId:
            UpdateOk(dialog);
            return TRUE;
        case IDOK:
            if (state != nullptr && TakeChoice(dialog, *state)) {
                ::EndDialog(dialog, IDOK);
            }
            return TRUE;
        case IDCANCEL:
            ::EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

std::wstring DialogText(const std::u16string& productName) {
    return L"This package allows you to install multiple instances of " + std::wstring(WideText(productName)) +
           L". Please select the option you want and press OK to continue:";
}

}  // namespace

std::optional<InstanceDialogChoice> ShowInstancesDialog(HWND owner, const InstanceSelection& selection,
                                                        const std::u16string& productName) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    DialogTemplate layout(L"Multiple Instances", 300, 190);
    layout.Add(L"STATIC", L"", kTextId, SS_LEFT, 7, 7, 286, 24);
    layout.Add(WC_LISTVIEWW, L"", kListId,
               LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 34, 286, 80);
    layout.Add(L"BUTTON", L"", kNewInstanceId, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 7, 120, 286, 12);
    layout.Add(L"BUTTON", L"Maintain or upgrade an already installed instance:", kMaintainId, BS_AUTORADIOBUTTON, 7,
               134, 286, 12);
    layout.Add(L"BUTTON", L"OK", IDOK, BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, 186, 168, 50, 14);
    layout.Add(L"BUTTON", L"Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 243, 168, 50, 14);

    DialogState state;
    state.selection = &selection;
    state.model = MakeInstanceDialogModel(selection);
    state.text = DialogText(productName);
    const INT_PTR answer = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), owner, DialogProc,
                                                     reinterpret_cast<LPARAM>(&state));
    if (answer != IDOK) {
        return std::nullopt;
    }
    return state.choice;
}

}  // namespace maglorin
