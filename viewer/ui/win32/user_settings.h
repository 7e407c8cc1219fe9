#pragma once
// What the viewer remembers per user between runs, under HKEY_CURRENT_USER\Software\Maglorin:
// the main window's size and the folders last used for kit textures, material pictures and
// exported bitmaps. Missing or unreadable values fall back to the defaults.

#include <string>

namespace maglorin::win32 {

struct UserSettings {
    int windowWidth = 0;   // outer size in pixels; 0: the default size
    int windowHeight = 0;
    std::wstring textureFolder;
    std::wstring pictureFolder;
    std::wstring exportFolder;
};

UserSettings LoadUserSettings();
// False when the key cannot be written (the settings are then simply not kept).
bool SaveUserSettings(const UserSettings& settings);

}  // namespace maglorin::win32
