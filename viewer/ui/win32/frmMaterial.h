#pragma once
// The material editor "Material Manager": a modal dialog over the main window (the main
// window's frames keep running) that edits one material of the loaded model at a time: mapping
// coordinates, mirrored and flipped texture with a preview, transparency and the texture file.
// Every "Apply" goes straight into the scene's materials; there is no cancel.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "image/decoded_picture.h"
#include "scene/scene.h"
#include "ui/win32/user_settings.h"

namespace maglorin::win32 {

class frmMaterial {
public:
    frmMaterial(Scene& scene, UserSettings& settings);
    void ShowModal(HINSTANCE instance, HWND owner);
    // Told the material and the path after "Browse" (an empty path when it was cancelled).
    void OnPictureChosen(std::function<void(std::int32_t, const std::wstring&)> handler) {
        pictureChosen_ = std::move(handler);
    }

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int notification);
    void OnDrawItem(const DRAWITEMSTRUCT& item);

    void Form_Load();
    void Form_Unload();
    void lstMaterials_Click();
    void chkMirror_Click(int index);
    void optFlip_Click(int index);
    void cmdCoordApply_Click();
    void cmdMirrorApply_Click();
    void cmdTransApply_Click();
    void cmdMeshTex_Click();
    void cmdClose_Click();
    void RenderPreview();
    float ParseFieldValue(int box) const;
    void ShowValue(int box, float value);

    Material* Selected();
    bool SelectedHasTexture();

    Scene& scene_;
    UserSettings& settings_;
    HWND dialog_ = nullptr;
    std::int16_t SelectedMaterial = 0;
    DecodedPicture PreviewSurface;  // 2W x 2H of the selected texture, top row first
    wchar_t decimalSeparator_ = L'.';
    std::function<void(std::int32_t, const std::wstring&)> pictureChosen_;
};

}  // namespace maglorin::win32
