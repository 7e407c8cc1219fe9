#include "prerequisites_wizard_win32.h"

#include <commctrl.h>

#include <atomic>
#include <mutex>
#include <string>

#include "dialog_template_win32.h"
#include "message_text.h"
#include "prerequisite_rules.h"
#include "setup_string_ids.h"
#include "win32_handles.h"
#include "wide_text.h"

namespace maglorin {
namespace {

constexpr int kHeadingId = 100;
constexpr int kBodyId = 101;
constexpr int kListId = 102;
constexpr int kSummaryId = 103;
constexpr int kStepId = 104;
constexpr int kBytesId = 105;
constexpr int kBarId = 106;
constexpr int kBackId = 110;
constexpr int kNextId = IDOK;  // Enter presses Next

// Posted to the dialog: from its own list notification (wParam unused) and from the worker.
constexpr UINT kRefuseMandatory = WM_APP + 1;
constexpr UINT kStepChanged = WM_APP + 2;
constexpr UINT kBytesChanged = WM_APP + 3;
constexpr UINT kWorkDone = WM_APP + 4;

std::u16string Number(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

class Wizard final : public WizardProgress, public DownloadSink {
public:
    Wizard(const WizardRequest& request, PrerequisiteWizardHost& host) : request_(request), host_(host) {}

    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    // WizardProgress, on the worker thread.
    void ShowStep(int textId, const std::u16string& name) override {
        {
            const std::lock_guard<std::mutex> lock(shared_);
            step_ = FormatText(Text(textId), {name});
        }
        OnStart(0, {});
        ::PostMessageW(dialog_, kStepChanged, 0, 0);
    }
    [[nodiscard]] bool CancelRequested() override { return cancel_; }
    DownloadSink& Sink() override { return *this; }
    HWND Owner() override { return dialog_; }

    // DownloadSink, on the worker thread.
    void OnStart(std::uint32_t total, const std::u16string&) override {
        total_ = total;
        received_ = 0;
        ::PostMessageW(dialog_, kBytesChanged, 0, 0);
    }
    void OnFinished(bool) override {}
    void OnState(DownloadState) override {}
    void OnProgress(std::uint32_t bytes) override {
        received_ += bytes;
        ::PostMessageW(dialog_, kBytesChanged, 0, 0);
    }
    [[nodiscard]] bool IsCancelled() override { return cancel_; }
    [[nodiscard]] bool IsPaused() override { return false; }
    void OnError(DownloadResult) override {}

private:
    std::u16string Text(int id) const {
        return request_.texts ? request_.texts(id) : BuiltInWizardText(id);
    }
    void SetText(int control, const std::u16string& text) { ::SetDlgItemTextW(dialog_, control, WideText(text)); }
    void Init(HWND dialog);
    void FillList();
    void ShowPage(WizardPage page);
    void Next();
    void Back();
    void Cancel();
    void StartWork();
    void WorkDone();
    void ShowBytes();
    // LVN_ITEMCHANGING: true keeps the check box as it was.
    bool RefuseChange(const NMLISTVIEW& change);
    static DWORD WINAPI WorkerMain(void* wizard);

    const WizardRequest& request_;
    PrerequisiteWizardHost& host_;
    HWND dialog_ = nullptr;
    WizardPage page_ = WizardPage::List;
    std::vector<WizardRow> rows_;
    bool filling_ = false;
    WizardRunReport report_;
    ThreadHandle worker_;
    std::atomic<bool> cancel_{false};
    std::atomic<std::uint64_t> total_{0}, received_{0};
    std::mutex shared_;
    std::u16string step_;  // guarded by shared_
};

void Wizard::Init(HWND dialog) {
    dialog_ = dialog;
    ::SetWindowTextW(dialog, WideText(FormatText(Text(kStringWizardTitle), {request_.productName})));
    SetText(kBackId, Text(kStringButtonBack));
    SetText(IDCANCEL, Text(kStringButtonCancel));
    const HWND list = ::GetDlgItem(dialog, kListId);
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                   LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    const int ids[] = {kStringColumnPrerequisite, kStringColumnVersion, kStringColumnStatus};
    const int widths[] = {150, 280, 140};
    for (int column = 0; column < 3; ++column) {
        std::u16string heading = Text(ids[column]);
        LVCOLUMNW header{};
        header.mask = LVCF_TEXT | LVCF_WIDTH;
        header.cx = widths[column];
        header.pszText = const_cast<wchar_t*>(WideText(heading));
        ::SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&header));
    }
    ::SendDlgItemMessageW(dialog, kBarId, PBM_SETRANGE32, 0, 100);
    FillList();
    ShowPage(FirstWizardPage(request_.settings));
    ::SetForegroundWindow(dialog);
}

void Wizard::FillList() {
    const HWND list = ::GetDlgItem(dialog_, kListId);
    filling_ = true;
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    rows_ = WizardRows(host_.List(), request_.settings, request_.texts);
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<wchar_t*>(WideText(rows_[row].name));
        const auto index = ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        const std::u16string* texts[] = {&rows_[row].version, &rows_[row].state};
        for (int column = 1; column < 3; ++column) {
            LVITEMW cell{};
            cell.iSubItem = column;
            cell.pszText = const_cast<wchar_t*>(WideText(*texts[column - 1]));
            ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&cell));
        }
        LVITEMW check{};
        check.stateMask = LVIS_STATEIMAGEMASK;
        check.state = INDEXTOSTATEIMAGEMASK(rows_[row].checked ? 2 : 1);
        ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&check));
    }
    filling_ = false;
}

void Wizard::ShowPage(WizardPage page) {
    page_ = page;
    const auto show = [this](int control, bool visible) {
        ::ShowWindow(::GetDlgItem(dialog_, control), visible ? SW_SHOW : SW_HIDE);
    };
    show(kBodyId, page == WizardPage::Intro || page == WizardPage::Result);
    show(kListId, page == WizardPage::List);
    show(kSummaryId, page == WizardPage::Summary);
    for (const int control : {kStepId, kBytesId, kBarId}) show(control, page == WizardPage::Progress);
    switch (page) {
    case WizardPage::Intro:
        SetText(kHeadingId, FormatText(Text(kStringWizardTitle), {request_.productName}));
        SetText(kBodyId, FormatText(Text(kStringWizardIntro), {request_.productName}));
        break;
    case WizardPage::List:
        SetText(kHeadingId, Text(kStringWizardListHeading));
        break;
    case WizardPage::Summary: {
        SetText(kHeadingId, Text(kStringSummaryHeading));
        ::SendDlgItemMessageW(dialog_, kSummaryId, LB_RESETCONTENT, 0, 0);
        const auto ready = [this](std::size_t index) { return host_.LocalFileReady(index); };
        for (const std::u16string& line : WizardSummaryLines(host_.List(), ready, request_.texts)) {
            ::SendDlgItemMessageW(dialog_, kSummaryId, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(WideText(line)));
        }
        break;
    }
    case WizardPage::Progress:
        SetText(kHeadingId, Text(kStringProgressHeading));
        SetText(kStepId, u"");
        SetText(kBytesId, u"");
        break;
    case WizardPage::Result: {
        SetText(kHeadingId, Text(kStringResultHeading));
        std::u16string body;
        for (const int id : WizardResultTextIds(report_, host_.List())) body += (body.empty() ? u"" : u"\r\n\r\n") + Text(id);
        SetText(kBodyId, body);
        break;
    }
    }
    const WizardButtons buttons = WizardButtonsFor(page, request_.settings);
    SetText(kNextId, Text(buttons.finish ? kStringButtonFinish : kStringButtonNext));
    ::EnableWindow(::GetDlgItem(dialog_, kBackId), buttons.back);
    ::EnableWindow(::GetDlgItem(dialog_, kNextId), buttons.next || buttons.finish);
    ::EnableWindow(::GetDlgItem(dialog_, IDCANCEL), buttons.cancel);
}

void Wizard::Next() {
    if (page_ == WizardPage::Progress) return;
    const WizardMove move = NextWizardPage(page_, request_.settings, AnythingToDo(host_.List()));
    if (move.step == WizardStep::Finished) {
        ::EndDialog(dialog_, static_cast<INT_PTR>(WizardEnd::Finished));
        return;
    }
    ShowPage(move.page);
    if (move.page == WizardPage::Progress) StartWork();
}

void Wizard::Back() {
    if (page_ == WizardPage::Result) {
        KeepChoiceAfterRun(host_.List());
        FillList();
    }
    ShowPage(PreviousWizardPage(page_, request_.settings));
}

void Wizard::Cancel() {
    if (page_ != WizardPage::Progress) {
        ::EndDialog(dialog_, static_cast<INT_PTR>(WizardEnd::Cancelled));
        return;
    }
    // The work stops before its next step (a running installer is waited for).
    cancel_ = true;
    ::EnableWindow(::GetDlgItem(dialog_, IDCANCEL), FALSE);
    SetText(kStepId, Text(kStringCancelling));
}

DWORD WINAPI Wizard::WorkerMain(void* parameter) {
    auto* wizard = static_cast<Wizard*>(parameter);
    {
        // The work may register the resume through the Task Scheduler's components.
        const ComScope com;
        wizard->report_ = wizard->host_.Execute(*wizard);
    }
    ::PostMessageW(wizard->dialog_, kWorkDone, 0, 0);
    return 0;
}

void Wizard::StartWork() {
    cancel_ = false;
    worker_.Reset(::CreateThread(nullptr, 0, WorkerMain, this, 0, nullptr));
    if (!worker_.IsValid()) {
        report_ = WizardRunReport{true, true};
        ShowPage(WizardPage::Result);
    }
}

void Wizard::WorkDone() {
    ::WaitForSingleObject(worker_.Get(), INFINITE);
    worker_.Reset();
    if (host_.RestartRequested()) {
        ::EndDialog(dialog_, static_cast<INT_PTR>(WizardEnd::Restart));
    } else if (host_.Cancelled()) {
        ::EndDialog(dialog_, static_cast<INT_PTR>(WizardEnd::Cancelled));
    } else {
        FillList();
        ShowPage(WizardPage::Result);
    }
}

void Wizard::ShowBytes() {
    const std::uint64_t total = total_;
    const std::uint64_t received = received_;
    ::SendDlgItemMessageW(dialog_, kBarId, PBM_SETPOS, static_cast<WPARAM>(DownloadPercent(received, total)), 0);
    SetText(kBytesId, total == 0 && received == 0
                          ? std::u16string()
                          : FormatText(Text(kStringProgressBytes), {Number(received / 1024), Number(total / 1024)}));
}

bool Wizard::RefuseChange(const NMLISTVIEW& change) {
    if (filling_ || (change.uChanged & LVIF_STATE) == 0 || change.iItem < 0) return false;
    const UINT oldImage = (change.uOldState & LVIS_STATEIMAGEMASK) >> 12;
    const UINT newImage = (change.uNewState & LVIS_STATEIMAGEMASK) >> 12;
    if (oldImage == 0 || newImage == 0 || oldImage == newImage) return false;
    const auto row = static_cast<std::size_t>(change.iItem);
    if (row >= rows_.size()) return false;
    const CheckChange result = ChangeSelection(host_.List()[rows_[row].index], newImage == 2);
    if (result == CheckChange::RefusedMandatory) ::PostMessageW(dialog_, kRefuseMandatory, 0, 0);
    return result != CheckChange::Applied;
}

INT_PTR CALLBACK Wizard::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* wizard = reinterpret_cast<Wizard*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<Wizard*>(lParam)->Init(dialog);
        return TRUE;
    }
    if (wizard == nullptr) return FALSE;
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kListId && header->code == LVN_ITEMCHANGING) {
            const BOOL refuse = wizard->RefuseChange(*reinterpret_cast<const NMLISTVIEW*>(lParam)) ? TRUE : FALSE;
            ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, refuse);
            return TRUE;
        }
        return FALSE;
    }
    case kRefuseMandatory:
        ::MessageBoxW(dialog, WideText(wizard->Text(kStringPrerequisiteMandatory)),
                      WideText(FormatText(wizard->Text(kStringWizardTitle), {wizard->request_.productName})),
                      MB_OK | MB_ICONWARNING);
        return TRUE;
    case kStepChanged: {
        const std::lock_guard<std::mutex> lock(wizard->shared_);
        if (!wizard->cancel_) wizard->SetText(kStepId, wizard->step_);
        return TRUE;
    }
    case kBytesChanged:
        wizard->ShowBytes();
        return TRUE;
    case kWorkDone:
        wizard->WorkDone();
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kNextId:
            wizard->Next();
            return TRUE;
        case kBackId:
            wizard->Back();
            return TRUE;
        case IDCANCEL:
            wizard->Cancel();
            return TRUE;
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

}  // namespace

WizardEnd ShowPrerequisitesWizard(const WizardRequest& request, PrerequisiteWizardHost& host) {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&controls);

    DialogTemplate layout(L"", 340, 220);
    layout.Add(L"STATIC", L"", kHeadingId, SS_LEFT, 7, 7, 326, 22);
    layout.Add(L"STATIC", L"", kBodyId, SS_LEFT, 7, 34, 326, 150);
    layout.Add(WC_LISTVIEWW, L"", kListId, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
               7, 34, 326, 150);
    layout.Add(L"LISTBOX", L"", kSummaryId, LBS_NOSEL | WS_BORDER | WS_VSCROLL, 7, 34, 326, 150);
    layout.Add(L"STATIC", L"", kStepId, SS_LEFT, 7, 40, 326, 12);
    layout.Add(L"STATIC", L"", kBytesId, SS_LEFT, 7, 56, 326, 12);
    layout.Add(PROGRESS_CLASSW, L"", kBarId, WS_BORDER, 7, 72, 326, 12);
    layout.Add(L"BUTTON", L"", kBackId, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP, 166, 198, 54, 14);
    layout.Add(L"BUTTON", L"", kNextId, BS_DEFPUSHBUTTON | WS_TABSTOP, 222, 198, 54, 14);
    layout.Add(L"BUTTON", L"", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 282, 198, 51, 14);

    Wizard wizard(request, host);
    const INT_PTR result = ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr), layout.Get(), nullptr,
                                                     Wizard::DialogProc, reinterpret_cast<LPARAM>(&wizard));
    if (result == static_cast<INT_PTR>(WizardEnd::Finished)) return WizardEnd::Finished;
    if (result == static_cast<INT_PTR>(WizardEnd::Restart)) return WizardEnd::Restart;
    return WizardEnd::Cancelled;  // also a dialog that could not be created
}

}  // namespace maglorin
