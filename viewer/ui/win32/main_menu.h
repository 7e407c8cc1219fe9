#pragma once
// The main window's menus: every entry with its caption and its visible, enabled
// and checked state, hidden entries included (they are kept in the model but left out of the
// menu the system shows). The menu bar and the canvas's pop-up are built from this model, so a
// state change is made once here and then shown.

#include <windows.h>

#include <string>
#include <vector>

#include "scene/scene_records.h"  // kVisualStyleCount
#include "win32_handles.h"

namespace maglorin::win32 {

// Command identifiers of the menu entries and the Open button.
enum MenuCommand : UINT {
    kCmdNone = 0,
    kCmdOpenTexture = 100,
    kCmdImport3DS = 101,
    kCmdExportBMP = 102,
    kCmdExit = 103,
    kCmdVisualStyle0 = 110,  // 110..118: the nine styles in menu order
    kCmdLight = 120,
    kCmdDoubleSide = 121,
    kCmdMesh = 130,
    kCmdCamera = 131,
    kCmdMaterialEditor = 132,
    kCmdBackground = 133,
    kCmdCredits = 140,
    kCmdTextureButton = 200,
};

// The entries that change state, by the names the window code uses.
enum class MenuEntry {
    File, OpenTexture, Import, Import3DS, Export, ExportBMP, FileSeparator, Exit,
    VisualStyleC, VisualStyle0,  // ... VisualStyle0 + kVisualStyleCount - 1
    StyleSeparator = VisualStyle0 + kVisualStyleCount, Light,
    DoubleSide, Edit, Mesh, Camera, MaterialEditor, Background, Help, Credits,
};

struct MenuItemState {
    MenuEntry entry;
    int parent;            // index of the parent entry, -1 for the menu bar
    std::wstring caption;  // "-" for a separator
    UINT command;          // kCmdNone for menus and separators
    bool visible;
    bool enabled;
    bool checked;
};

class MainMenu {
public:
    MainMenu();

    void SetEnabled(MenuEntry entry, bool enabled) { Item(entry).enabled = enabled; }
    void SetChecked(MenuEntry entry, bool checked) { Item(entry).checked = checked; }
    bool Enabled(MenuEntry entry) const { return Item(entry).enabled; }
    bool Checked(MenuEntry entry) const { return Item(entry).checked; }
    bool Visible(MenuEntry entry) const { return Item(entry).visible; }

    // A new menu bar with the visible entries in their current state.
    MenuHandle BuildMenuBar() const;
    // The "Style" menu as a pop-up; every entry greyed while "Style" is disabled.
    MenuHandle BuildStylePopup() const;

    const std::vector<MenuItemState>& Items() const { return items_; }

private:
    MenuItemState& Item(MenuEntry entry);
    const MenuItemState& Item(MenuEntry entry) const;
    void AddChildren(HMENU menu, int parent, bool greyAll) const;

    std::vector<MenuItemState> items_;
};

inline MenuEntry StyleEntry(int index) {
    return static_cast<MenuEntry>(static_cast<int>(MenuEntry::VisualStyle0) + index);
}

}  // namespace maglorin::win32
