#include "ui/win32/main_menu.h"

namespace maglorin::win32 {

namespace {

constexpr const wchar_t* kStyleCaptions[kVisualStyleCount] = {L"Dot",  L"Box",     L"Wireframe", L"Wireframe Map",
                                              L"Wireframe BFC", L"Flat", L"Gouraud", L"Mapped",
                                              L"Photo Realistic"};

}  // namespace

MainMenu::MainMenu() {
    auto add = [this](MenuEntry entry, int parent, const wchar_t* caption, UINT command, bool visible,
                      bool enabled) {
        items_.push_back(MenuItemState{entry, parent, caption, command, visible, enabled, false});
        return static_cast<int>(items_.size()) - 1;
    };
    const int file = add(MenuEntry::File, -1, L"File", kCmdNone, true, true);
    add(MenuEntry::OpenTexture, file, L"Open Texture", kCmdOpenTexture, true, true);
    const int import = add(MenuEntry::Import, file, L"Import", kCmdNone, false, true);
    add(MenuEntry::Import3DS, import, L"3DS", kCmdImport3DS, true, true);
    const int exportMenu = add(MenuEntry::Export, file, L"Export", kCmdNone, false, true);
    add(MenuEntry::ExportBMP, exportMenu, L"BMP", kCmdExportBMP, true, true);
    add(MenuEntry::FileSeparator, file, L"-", kCmdNone, true, true);
    add(MenuEntry::Exit, file, L"Exit", kCmdExit, true, true);

    const int style = add(MenuEntry::VisualStyleC, -1, L"Style", kCmdNone, true, false);
    for (int i = 0; i < kVisualStyleCount; ++i) {
        const bool shown = i == 6 || i == 7;  // of the styles, the menu shows "Gouraud" and "Mapped"
        add(StyleEntry(i), style, kStyleCaptions[i], kCmdVisualStyle0 + static_cast<UINT>(i), shown, true);
    }
    add(MenuEntry::StyleSeparator, style, L"-", kCmdNone, false, true);
    add(MenuEntry::Light, style, L"Light", kCmdLight, false, true);
    add(MenuEntry::DoubleSide, style, L"Show Backface", kCmdDoubleSide, false, true);

    const int edit = add(MenuEntry::Edit, -1, L"Edit", kCmdNone, false, false);
    add(MenuEntry::Mesh, edit, L"Mesh", kCmdMesh, true, true);
    add(MenuEntry::Camera, edit, L"Camera", kCmdCamera, true, true);
    add(MenuEntry::MaterialEditor, edit, L"Material", kCmdMaterialEditor, true, true);
    add(MenuEntry::Background, edit, L"Background", kCmdBackground, true, true);

    const int help = add(MenuEntry::Help, -1, L"Help", kCmdNone, true, true);
    add(MenuEntry::Credits, help, L"Credits", kCmdCredits, true, true);
}

MenuItemState& MainMenu::Item(MenuEntry entry) {
    for (MenuItemState& item : items_) {
        if (item.entry == entry) return item;
    }
    return items_.front();  // every MenuEntry is added by the constructor
}

const MenuItemState& MainMenu::Item(MenuEntry entry) const {
    return const_cast<MainMenu*>(this)->Item(entry);
}

void MainMenu::AddChildren(HMENU menu, int parent, bool greyAll) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const MenuItemState& item = items_[i];
        if (item.parent != parent || !item.visible) continue;
        if (item.caption == L"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (!item.enabled || greyAll) flags |= MF_GRAYED;
        if (item.checked) flags |= MF_CHECKED;
        if (item.command == kCmdNone) {
            HMENU sub = CreatePopupMenu();
            AddChildren(sub, static_cast<int>(i), greyAll);
            // The parent menu owns `sub` from here on.
            AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), item.caption.c_str());
        } else {
            AppendMenuW(menu, flags, item.command, item.caption.c_str());
        }
    }
}

MenuHandle MainMenu::BuildMenuBar() const {
    MenuHandle bar(CreateMenu());
    if (bar) AddChildren(bar.Get(), -1, false);
    return bar;
}

MenuHandle MainMenu::BuildStylePopup() const {
    MenuHandle popup(CreatePopupMenu());
    if (!popup) return popup;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].entry == MenuEntry::VisualStyleC) {
            AddChildren(popup.Get(), static_cast<int>(i), !items_[i].enabled);
        }
    }
    return popup;
}

}  // namespace maglorin::win32
