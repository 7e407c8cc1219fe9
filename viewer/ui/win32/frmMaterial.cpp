#include "ui/win32/frmMaterial.h"

#include <string>

#include "scene/material_textures.h"
#include "ui/field_value.h"
#include "ui/mirror_preview.h"
#include "ui/win32/clsCommonDialog.h"
#include "ui/win32/picture_file.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/text_encoding.h"
#include "win32_handles.h"

namespace maglorin::win32 {

namespace {

constexpr int kCoordinateBoxes[] = {IDC_TXTUOFFSET, IDC_TXTVOFFSET, IDC_TXTUTILING, IDC_TXTVTILING, IDC_TXTROTATE};

wchar_t UserDecimalSeparator() {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) > 1) return text[0];
    return L'.';
}

std::wstring BoxText(HWND dialog, int box) {
    HWND control = GetDlgItem(dialog, box);
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The picture dialog of the material editor's "Browse". The editor's "JPEG Images" entry lists
// its patterns with a comma, which the system takes as one pattern; it is given as two.
std::string ShowPictureDialog(HWND owner, const PictureDialogRequest& request) {
    std::wstring filter = Utf8ToWide(request.Filter);
    const std::wstring comma = L"*.jpg,*.jpeg";
    if (const std::size_t at = filter.find(comma); at != std::wstring::npos) {
        filter.replace(at, comma.size(), L"*.jpg;*.jpeg");
    }
    clsCommonDialog dialog;
    dialog.hWnd(owner);
    dialog.Filter(filter);
    dialog.DialogTitle(Utf8ToWide(request.DialogTitle));
    dialog.InitDir(Utf8ToWide(request.InitDir));
    dialog.FileName(Utf8ToWide(request.FileName));
    dialog.ShowOpen();
    return WideToUtf8(dialog.FileName());
}

}  // namespace

frmMaterial::frmMaterial(Scene& scene, UserSettings& settings) : scene_(scene), settings_(settings) {}

void frmMaterial::ShowModal(HINSTANCE instance, HWND owner) {
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MATERIAL), owner, Proc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK frmMaterial::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<frmMaterial*>(lParam)->dialog_ = dialog;
    }
    auto* self = reinterpret_cast<frmMaterial*>(GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR frmMaterial::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Form_Load();
        return TRUE;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DRAWITEM:
        OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_CLOSE:
        cmdClose_Click();
        return TRUE;
    case WM_DESTROY:
        Form_Unload();
        return FALSE;
    default:
        return FALSE;
    }
}

void frmMaterial::OnCommand(int id, int notification) {
    switch (id) {
    case IDOK: {
        // Enter: in a coordinate box it applies the coordinates, in the transparency box the
        // transparency.
        const int focus = GetDlgCtrlID(GetFocus());
        if (focus == IDC_TXTTRANSPARENCY) cmdTransApply_Click();
        for (int box : kCoordinateBoxes) {
            if (focus == box) cmdCoordApply_Click();
        }
        break;
    }
    case IDCANCEL: cmdClose_Click(); break;
    case IDC_LSTMATERIALS:
        if (notification == LBN_SELCHANGE) lstMaterials_Click();
        break;
    case IDC_CHKMIRROR0: chkMirror_Click(0); break;
    case IDC_CHKMIRROR1: chkMirror_Click(1); break;
    case IDC_OPTFLIP0: optFlip_Click(0); break;
    case IDC_OPTFLIP1: optFlip_Click(1); break;
    case IDC_OPTFLIP2: optFlip_Click(2); break;
    case IDC_CMDCOORDAPPLY: cmdCoordApply_Click(); break;
    case IDC_CMDMIRRORAPPLY: cmdMirrorApply_Click(); break;
    case IDC_CMDTRANSAPPLY: cmdTransApply_Click(); break;
    case IDC_CMDMESHTEX: cmdMeshTex_Click(); break;
    case IDC_CMDCLOSE: cmdClose_Click(); break;
    default: break;  // "Color" has no action
    }
}

void frmMaterial::OnDrawItem(const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (item.CtlID == IDC_PICPREVIEW) {
        Material* material = Selected();
        if (material != nullptr && SelectedHasTexture()) {
            DrawPicture(item.hDC, FlippedPreview(PreviewSurface, material->Flip), item.rcItem);
        }
    } else if (item.CtlID == IDC_PICCOLOR) {
        if (Material* material = Selected()) {
            const ColourRGB& c = material->Diffuse;
            BrushHandle brush(CreateSolidBrush(RGB(c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF)));
            FillRect(item.hDC, &item.rcItem, brush.Get());
        }
    }
}

void frmMaterial::Form_Load() {
    decimalSeparator_ = UserDecimalSeparator();
    // The boxes start with their captions, which are not numbers (an Apply before any selection gives 0).
    SetDlgItemTextW(dialog_, IDC_TXTUOFFSET, L"UOffset");
    SetDlgItemTextW(dialog_, IDC_TXTVOFFSET, L"VOffset");
    SetDlgItemTextW(dialog_, IDC_TXTUTILING, L"UTiling");
    SetDlgItemTextW(dialog_, IDC_TXTVTILING, L"VTiling");
    SetDlgItemTextW(dialog_, IDC_TXTROTATE, L"WRotate");
    SetDlgItemTextW(dialog_, IDC_TXTTRANSPARENCY, L"Transparency");
    for (std::int32_t k = 0; k <= scene_.MaterialUBound; ++k) {
        const std::wstring entry =
            std::to_wstring(k) + L": " + Utf8ToWide(scene_.Materials[static_cast<std::size_t>(k)].Name);
        SendDlgItemMessageW(dialog_, IDC_LSTMATERIALS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
    CheckRadioButton(dialog_, IDC_OPTFLIP0, IDC_OPTFLIP2, IDC_OPTFLIP0);
    PreviewSurface = DecodedPicture{};
}

void frmMaterial::Form_Unload() { PreviewSurface = DecodedPicture{}; }

Material* frmMaterial::Selected() {
    if (SelectedMaterial < 0 || SelectedMaterial > scene_.MaterialUBound ||
        static_cast<std::size_t>(SelectedMaterial) >= scene_.Materials.size()) {
        return nullptr;
    }
    return &scene_.Materials[static_cast<std::size_t>(SelectedMaterial)];
}

bool frmMaterial::SelectedHasTexture() {
    Material* material = Selected();
    return material != nullptr && material->HasTexture != kFalse16 && material->Texture.Live();
}

void frmMaterial::ShowValue(int box, float value) {
    SetDlgItemTextW(dialog_, box, FormatFieldValue(value, decimalSeparator_).c_str());
}

float frmMaterial::ParseFieldValue(int box) const {
    return maglorin::ParseFieldValue(BoxText(dialog_, box), decimalSeparator_);
}

void frmMaterial::lstMaterials_Click() {
    const LRESULT index = SendDlgItemMessageW(dialog_, IDC_LSTMATERIALS, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR) return;
    SelectedMaterial = static_cast<std::int16_t>(index);
    Material* material = Selected();
    if (material == nullptr) return;
    if (SelectedHasTexture()) {
        PreviewSurface = DecodedPicture{};
        PreviewSurface.width = 2 * material->Texture.Width();
        PreviewSurface.height = 2 * material->Texture.Height();
        PreviewSurface.pixels.assign(static_cast<std::size_t>(PreviewSurface.width) * PreviewSurface.height, 0);
        SetDlgItemTextW(dialog_, IDC_LBLLOADTEXTURE, L"Loaded");
    } else {
        PreviewSurface = DecodedPicture{};
        SetDlgItemTextW(dialog_, IDC_LBLLOADTEXTURE, L"File Not Found");
    }
    ShowValue(IDC_TXTUOFFSET, material->UOffset);
    ShowValue(IDC_TXTVOFFSET, material->VOffset);
    ShowValue(IDC_TXTUTILING, material->UScale);
    ShowValue(IDC_TXTVTILING, material->VScale);
    ShowValue(IDC_TXTROTATE, material->Rotation);
    ShowValue(IDC_TXTTRANSPARENCY, material->Transparency);
    SetDlgItemTextW(dialog_, IDC_LBLNAME, Utf8ToWide(material->TextureFile).c_str());
    // The boxes show the material's own mirror and flip.
    CheckDlgButton(dialog_, IDC_CHKMIRROR0, (material->Mirror % 10) == 1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog_, IDC_CHKMIRROR1, material->Mirror >= 10 ? BST_CHECKED : BST_UNCHECKED);
    if (material->Flip <= kFlipLeftRight) {
        CheckRadioButton(dialog_, IDC_OPTFLIP0, IDC_OPTFLIP2, IDC_OPTFLIP0 + material->Flip);
    }
    InvalidateRect(GetDlgItem(dialog_, IDC_PICCOLOR), nullptr, TRUE);
    RenderPreview();
}

void frmMaterial::RenderPreview() {
    Material* material = Selected();
    if (material != nullptr && SelectedHasTexture()) {
        FillMirrorPreview(PictureOfSurface(material->Texture), material->Mirror, PreviewSurface);
    }
    InvalidateRect(GetDlgItem(dialog_, IDC_PICPREVIEW), nullptr, TRUE);
}

void frmMaterial::chkMirror_Click(int /*index*/) {
    if (!SelectedHasTexture()) return;
    const bool u = IsDlgButtonChecked(dialog_, IDC_CHKMIRROR0) == BST_CHECKED;
    const bool v = IsDlgButtonChecked(dialog_, IDC_CHKMIRROR1) == BST_CHECKED;
    Selected()->Mirror = static_cast<std::uint8_t>((u ? 1 : 0) + (v ? 10 : 0));
    RenderPreview();
}

void frmMaterial::optFlip_Click(int index) {
    if (!SelectedHasTexture()) return;
    Selected()->Flip = static_cast<std::uint8_t>(index);
    RenderPreview();
}

void frmMaterial::cmdCoordApply_Click() {
    if (!SelectedHasTexture()) return;
    Material& material = *Selected();
    material.UScale = ParseFieldValue(IDC_TXTUTILING);
    material.VScale = ParseFieldValue(IDC_TXTVTILING);
    material.UOffset = ParseFieldValue(IDC_TXTUOFFSET);
    material.VOffset = ParseFieldValue(IDC_TXTVOFFSET);
    material.Rotation = ParseFieldValue(IDC_TXTROTATE);
}

void frmMaterial::cmdMirrorApply_Click() {
    if (!SelectedHasTexture()) return;
    ApplyPreviewToTextureWork(PreviewSurface, *Selected());
}

void frmMaterial::cmdTransApply_Click() {
    if (Material* material = Selected()) material->Transparency = ParseFieldValue(IDC_TXTTRANSPARENCY);
}

void frmMaterial::cmdMeshTex_Click() {
    if (Selected() == nullptr) return;
    const std::wstring start = !settings_.pictureFolder.empty() ? settings_.pictureFolder : PicturesFolder();
    const PictureDialog dialog = [this](const PictureDialogRequest& request) {
        return ShowPictureDialog(dialog_, request);
    };
    const std::wstring path = Utf8ToWide(BrowsePicture(dialog, WideToUtf8(start), "Texture File"));
    LoadTextureOnMaterial(scene_, SelectedMaterial, path);
    if (!path.empty()) settings_.pictureFolder = FolderOfPath(path);
    if (pictureChosen_) pictureChosen_(SelectedMaterial, path);
}

void frmMaterial::cmdClose_Click() { EndDialog(dialog_, 0); }

}  // namespace maglorin::win32
