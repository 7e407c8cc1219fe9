// The "Multiple Instances" dialog under Wine, driven the way a user would: a second thread finds
// the dialog, reads its controls, clicks and selects, and the choice comes back to the caller.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <thread>

#include "instances_dialog_win32.h"

namespace maglorin {
namespace {

constexpr int kListId = 101;
constexpr int kNewInstanceId = 102;
constexpr int kMaintainId = 103;

InstanceRecord Installed(std::u16string transform, std::u16string code, std::u16string name, std::u16string location) {
    InstanceRecord record;
    record.transformName = std::move(transform);
    record.productCode = std::move(code);
    record.installed = true;
    record.installedProductName = std::move(name);
    record.installedLocation = std::move(location);
    return record;
}

InstanceSelection TwoOfThreeInstalled() {
    InstanceSelection selection;
    selection.instances = {Installed(u"", u"{BASE}", u"Kit", u"C:\\Kit\\"), Installed(u"first", u"{ONE}", u"Kit One", u"D:\\Kit1\\"),
                           InstanceRecord{}};
    selection.instances[2].transformName = u"second";
    selection.instances[2].productCode = u"{TWO}";
    selection.someInstalled = true;
    return selection;
}

// Waits (bounded) for the dialog of this process, then lets `drive` act on it.
void DriveDialog(const std::function<void(HWND)>& drive) {
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 1000 && dialog == nullptr; ++attempt) {
        dialog = ::FindWindowW(L"#32770", L"Multiple Instances");
        if (dialog == nullptr || !::IsWindowVisible(dialog)) {
            dialog = nullptr;
            ::Sleep(10);
        }
    }
    if (dialog == nullptr) {
        ADD_FAILURE() << "the dialog never appeared";
        return;
    }
    drive(dialog);
}

std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[512] = {};
    ::GetDlgItemTextW(dialog, id, text, 512);
    return text;
}

bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }

void SelectRow(HWND dialog, int row) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendDlgItemMessageW(dialog, kListId, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

struct Seen {
    std::wstring text;
    std::wstring newCaption;
    int rows = 0;
    std::wstring secondRowName;
    std::wstring secondRowLocation;
    bool newPreselected = false;
    bool okWithNew = false;
    bool okWithMaintainNoRow = true;
    bool maintainAfterRowPick = false;
    bool okAfterRowPick = false;
};

TEST(InstancesDialog, PickingAnInstalledRowMaintainsIt) {
    const InstanceSelection selection = TwoOfThreeInstalled();
    Seen seen;
    std::thread user([&] {
        DriveDialog([&](HWND dialog) {
            seen.text = ControlText(dialog, 100);
            seen.newCaption = ControlText(dialog, kNewInstanceId);
            seen.rows = static_cast<int>(::SendDlgItemMessageW(dialog, kListId, LVM_GETITEMCOUNT, 0, 0));
            wchar_t cell[256] = {};
            LVITEMW item{};
            item.pszText = cell;
            item.cchTextMax = 256;
            ::SendDlgItemMessageW(dialog, kListId, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
            seen.secondRowName = cell;
            item.iSubItem = 1;
            ::SendDlgItemMessageW(dialog, kListId, LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
            seen.secondRowLocation = cell;
            seen.newPreselected = ::IsDlgButtonChecked(dialog, kNewInstanceId) == BST_CHECKED;
            seen.okWithNew = Enabled(dialog, IDOK);
            ::SendDlgItemMessageW(dialog, kMaintainId, BM_CLICK, 0, 0);
            seen.okWithMaintainNoRow = Enabled(dialog, IDOK);
            SelectRow(dialog, 1);
            seen.maintainAfterRowPick = ::IsDlgButtonChecked(dialog, kMaintainId) == BST_CHECKED;
            seen.okAfterRowPick = Enabled(dialog, IDOK);
            ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
    });
    const std::optional<InstanceDialogChoice> choice = ShowInstancesDialog(nullptr, selection, u"Kit Viewer");
    user.join();
    EXPECT_EQ(seen.text, L"This package allows you to install multiple instances of Kit Viewer. Please select the option "
                         L"you want and press OK to continue:");
    EXPECT_EQ(seen.newCaption, L"Install new instance.");
    EXPECT_EQ(seen.rows, 2) << "only installed instances are listed";
    EXPECT_EQ(seen.secondRowName, L"Kit One");
    EXPECT_EQ(seen.secondRowLocation, L"D:\\Kit1\\");
    EXPECT_TRUE(seen.newPreselected);
    EXPECT_TRUE(seen.okWithNew);
    EXPECT_FALSE(seen.okWithMaintainNoRow) << "maintain needs a row";
    EXPECT_TRUE(seen.maintainAfterRowPick);
    EXPECT_TRUE(seen.okAfterRowPick);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->mode, InstanceMode::Maintain);
    EXPECT_EQ(choice->selected, 1u);
}

TEST(InstancesDialog, EveryInstanceInstalledOffersOnlyMaintenanceAndCancelEnds) {
    InstanceSelection selection = TwoOfThreeInstalled();
    selection.instances[2].installed = true;
    selection.instances[2].installedProductName = u"Kit Two";
    bool newEnabled = true;
    bool maintainPreselected = false;
    std::thread user([&] {
        DriveDialog([&](HWND dialog) {
            newEnabled = Enabled(dialog, kNewInstanceId);
            maintainPreselected = ::IsDlgButtonChecked(dialog, kMaintainId) == BST_CHECKED;
            ::SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    });
    const std::optional<InstanceDialogChoice> choice = ShowInstancesDialog(nullptr, selection, u"Kit Viewer");
    user.join();
    EXPECT_FALSE(newEnabled);
    EXPECT_TRUE(maintainPreselected);
    EXPECT_FALSE(choice);
}

TEST(InstancesDialog, UpgradeAllCaptionWhenOlderInstancesCanBeUpgraded) {
    InstanceSelection selection = TwoOfThreeInstalled();
    selection.olderUpgradable = true;
    std::wstring caption;
    std::thread user([&] {
        DriveDialog([&](HWND dialog) {
            caption = ControlText(dialog, kNewInstanceId);
            ::SendMessageW(dialog, WM_COMMAND, IDOK, 0);
        });
    });
    const std::optional<InstanceDialogChoice> choice = ShowInstancesDialog(nullptr, selection, u"Kit Viewer");
    user.join();
    EXPECT_EQ(caption, L"Upgrade all installed instances.");
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->mode, InstanceMode::NewInstance);
}

}  // namespace
}  // namespace maglorin
