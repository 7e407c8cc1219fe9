#include "ui/win32/frmMain.h"

#include <shellapi.h>

#include <algorithm>
#include <utility>
#include <filesystem>

#include "geometry/projection.h"
#include "scene/clsFile3DS.h"
#include "scene/material_textures.h"
#include "ui/win32/app_icon.h"
#include "ui/win32/clsCommonDialog.h"
#include "ui/win32/frmCredits.h"
#include "ui/win32/frmMaterial.h"
#include "ui/win32/picture_file.h"
#include "ui/win32/text_encoding.h"

namespace maglorin::win32 {

namespace {

constexpr const wchar_t* kMainClass = L"MaglorinMain";
constexpr const wchar_t* kCanvasClass = L"MaglorinCanvas";
constexpr const wchar_t* kHelpLine =
    L"Rotate = Q or W or R + Arrow Right or Arrow Left"
    L"                         "
    L"Zoom =   S + Arrow Up or Arrow Down";
constexpr const wchar_t* kOpenTextureFilter = L"Jpg Kit Texture (*.jpg)|*.jpg";
// Shown while no background picture could be read.
constexpr std::uint32_t kPlainBackground = 0x00283038u;

// Layout in pixels: the texture panel above the canvas, the help line below it.
constexpr int kPanelHeight = 64;
constexpr int kHelpHeight = 22;
constexpr int kThumbWidth = 72;
constexpr int kThumbHeight = 52;

frmMain* FromWindow(HWND window) {
    return reinterpret_cast<frmMain*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND MakeChild(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int id, HINSTANCE instance,
               DWORD exStyle = 0) {
    HWND child = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return child;
}

}  // namespace

frmMain::frmMain(Scene& scene, HINSTANCE instance, TopLevelWindows& windows, UserSettings& settings)
    : scene_(scene), instance_(instance), windows_(windows), settings_(settings) {}

frmMain::~frmMain() = default;

bool frmMain::RegisterClasses(HINSTANCE instance) {
    WNDCLASSEXW main{};
    main.cbSize = sizeof(main);
    main.lpfnWndProc = MainProc;
    main.hInstance = instance;
    main.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = kMainClass;
    WNDCLASSEXW canvas{};
    canvas.cbSize = sizeof(canvas);
    canvas.lpfnWndProc = CanvasProc;
    canvas.hInstance = instance;
    canvas.hCursor = LoadCursorW(nullptr, IDC_CROSS);
    canvas.lpszClassName = kCanvasClass;
    return RegisterClassExW(&main) != 0 && RegisterClassExW(&canvas) != 0 && frmCredits::RegisterClass(instance);
}

bool frmMain::Create(int showCommand) {
    const int width = settings_.windowWidth >= 320 ? settings_.windowWidth : 800;
    const int height = settings_.windowHeight >= 240 ? settings_.windowHeight : 640;
    icon_ = DrawAppIcon(32);
    HWND window = CreateWindowExW(WS_EX_ACCEPTFILES, kMainClass, kMainWindowTitle, WS_OVERLAPPEDWINDOW,
                                  CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr, instance_, this);
    if (window == nullptr) return false;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    if (!backgroundProblem_.empty()) PostMessageW(window, WM_APP, 0, 0);
    return true;
}

LRESULT CALLBACK frmMain::MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<frmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    frmMain* self = FromWindow(window);
    return self != nullptr ? self->HandleMain(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK frmMain::CanvasProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    frmMain* self = FromWindow(GetParent(window));
    return self != nullptr ? self->HandleCanvas(window, message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT frmMain::HandleMain(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        windows_.Opened();
        Form_Load();
        return 0;
    case WM_SIZE:
        // A minimised window draws nothing: its frames stop until it is shown again.
        if (wParam == SIZE_MINIMIZED) {
            framesSuspended_ = tmrProcess_.Running();
            tmrProcess_.Stop();
            return 0;
        }
        if (framesSuspended_) {
            framesSuspended_ = false;
            StartFrames();
        }
        Form_Resize();
        return 0;
    case WM_GETMINMAXINFO:
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{360, 240};
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_TIMER:
        tmrProcess_Timer();
        return 0;
    case WM_MOUSEWHEEL:
        TakeWheelMessage(wParam, lParam);
        return 0;
    case WM_DROPFILES:
        DropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_COPYDATA:
        return copyDataHandler_ != nullptr ? copyDataHandler_->Handle(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) : 0;
    case WM_APP:
        // Start-up problems are told once the window is on screen.
        if (!backgroundProblem_.empty()) Message(std::exchange(backgroundProblem_, std::wstring()), MB_OK | MB_ICONWARNING);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window_);
        return 0;
    case WM_DESTROY:
        Form_Unload();
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT frmMain::HandleCanvas(HWND canvas, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PaintScope paint(canvas);
        PresentFrame(paint.Get());
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
        SetFocus(picCanvas_);
        return 0;
    case WM_RBUTTONDOWN: {
        POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(picCanvas_, &point);
        picCanvas_MouseDown(2, point);
        return 0;
    }
    case WM_MOUSEWHEEL:
        TakeWheelMessage(wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(canvas, message, wParam, lParam);
    }
}

void frmMain::OnCommand(UINT command) {
    if (command >= kCmdVisualStyle0 && command < kCmdVisualStyle0 + kVisualStyleCount) {
        mnuVisualStyle_Click(static_cast<int>(command - kCmdVisualStyle0));
        return;
    }
    switch (command) {
    case kCmdTextureButton: cmdTexture_Click(); break;
    case kCmdOpenTexture: mnuOpenTexture_Click(); break;
    case kCmdExportBMP: mnuExportBMP_Click(); break;
    case kCmdExit: mnuExit_Click(); break;
    case kCmdLight: mnuLight_Click(); break;
    case kCmdDoubleSide: mnuDoubleSide_Click(); break;
    case kCmdMaterialEditor: mnuMaterialEditor_Click(); break;
    case kCmdCredits: mnuCredits_Click(); break;
    default: break;  // "3DS", "Mesh", "Camera" and "Background" have no action
    }
}

void frmMain::Form_Load() {
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.Get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.Get()));
    CreateControls();
    // Step 1: both surfaces start empty; SizeCanvas gives them the canvas size.
    scene_.FrameSurface.Delete(scene_.FramePixels);
    scene_.BackgroundSurface.Delete(scene_.BackgroundPixels);
    scene_.WheelMouse = ToBool16(GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0);
    menu_.SetEnabled(MenuEntry::Edit, false);
    ShowMenuState();
    LoadBackgroundPicture();
    scene_.UseBackground = kBackgroundShown;
}

void frmMain::LoadBackgroundPicture() {
    const std::wstring path = ProgramFolder() + L"BG.jpg";
    scene_.BackgroundFile = WideToUtf8(path);
    std::wstring error;
    if (!LoadPictureFile(path, backgroundPicture_, error)) {
        backgroundProblem_ = L"The background picture " + path + L" cannot be used: " + error +
                             L".\r\nThe viewer starts with a plain background.";
    }
}

void frmMain::CreateControls() {
    groupTexture_ = MakeChild(window_, L"BUTTON", L"Texture", BS_GROUPBOX, 0, instance_);
    Label1_ = MakeChild(window_, L"STATIC", L"Path : ", SS_LEFT, 0, instance_);
    Path_ = MakeChild(window_, L"EDIT", L"", ES_AUTOHSCROLL | ES_READONLY | WS_TABSTOP, 0, instance_,
                      WS_EX_CLIENTEDGE);
    cmdTexture_ = MakeChild(window_, L"BUTTON", L"Open", BS_PUSHBUTTON | WS_TABSTOP, kCmdTextureButton, instance_);
    Kit_ = MakeChild(window_, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE, 0, instance_, WS_EX_STATICEDGE);
    Image1_ = MakeChild(window_, L"STATIC", L"", SS_BITMAP | SS_CENTERIMAGE, 0, instance_);
    Label2_ = MakeChild(window_, L"STATIC", kHelpLine, SS_LEFT | SS_NOPREFIX, 0, instance_);
    picCanvas_ = MakeChild(window_, kCanvasClass, L"", 0, 0, instance_);
    image1Bitmap_ = DrawAppPicture(kThumbHeight);
    SendMessageW(Image1_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(image1Bitmap_.Get()));
}

void frmMain::LayoutControls() {
    RECT client{};
    GetClientRect(window_, &client);
    const int width = client.right;
    const int height = client.bottom;
    MoveWindow(groupTexture_, 8, 2, 430, kPanelHeight - 8, TRUE);
    MoveWindow(Label1_, 18, 28, 36, 18, TRUE);
    MoveWindow(Path_, 56, 24, 280, 24, TRUE);
    MoveWindow(cmdTexture_, 344, 22, 84, 28, TRUE);
    MoveWindow(Kit_, 448, 6, kThumbWidth, kThumbHeight, TRUE);
    MoveWindow(Image1_, 530, 6, kThumbHeight, kThumbHeight, TRUE);
    const int canvasHeight = height - kPanelHeight - kHelpHeight;
    MoveWindow(picCanvas_, 0, kPanelHeight, width, canvasHeight > 1 ? canvasHeight : 1, TRUE);
    MoveWindow(Label2_, 8, height - kHelpHeight + 3, width - 16, kHelpHeight - 4, TRUE);
}

void frmMain::Form_Resize() {
    if (picCanvas_ == nullptr) return;
    LayoutControls();
    SizeCanvas();
}

void frmMain::SizeCanvas() {
    RECT inner{};
    GetClientRect(picCanvas_, &inner);
    // A canvas without pixels (the window squeezed to nothing) keeps its surfaces.
    if (inner.right < 1 || inner.bottom < 1) return;
    scene_.CanvasWidth = inner.right;
    scene_.CanvasHeight = inner.bottom;
    scene_.CentreX = RoundPixel(static_cast<float>(scene_.CanvasWidth) * 0.5f);
    scene_.CentreY = RoundPixel(static_cast<float>(scene_.CanvasHeight) * 0.5f);
    scene_.FrameSurface.Create(scene_.CanvasWidth, scene_.CanvasHeight, scene_.FramePixels, false);
    if (!backgroundPicture_.Empty()) {
        scene_.BackgroundSurface.CreateFromPictureBox(backgroundPicture_, scene_.CanvasWidth, scene_.CanvasHeight,
                                                      scene_.BackgroundPixels, false);
    } else {
        scene_.BackgroundSurface.Create(scene_.CanvasWidth, scene_.CanvasHeight, scene_.BackgroundPixels, false);
        if (std::uint32_t* words = scene_.BackgroundSurface.Data()) {
            std::fill(words, words + static_cast<std::size_t>(scene_.CanvasWidth) * scene_.CanvasHeight,
                      kPlainBackground);
        }
    }
    scene_.ClipLeft = 0;
    scene_.ClipTop = 0;
    scene_.ClipRight = inner.right - 1;
    scene_.ClipBottom = inner.bottom - 1;
    if (scene_.ModelLoaded != kFalse16) DrawFrame();
    InvalidateRect(picCanvas_, nullptr, FALSE);
}

void frmMain::Form_Unload() {
    closing_ = true;
    tmrProcess_.Stop();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (GetWindowPlacement(window_, &placement)) {
        settings_.windowWidth = placement.rcNormalPosition.right - placement.rcNormalPosition.left;
        settings_.windowHeight = placement.rcNormalPosition.bottom - placement.rcNormalPosition.top;
    }
    SaveUserSettings(settings_);
    // The window would destroy the attached menu itself; the owner does it instead.
    SetMenu(window_, nullptr);
    SendMessageW(Kit_, STM_SETIMAGE, IMAGE_BITMAP, 0);
    SendMessageW(Image1_, STM_SETIMAGE, IMAGE_BITMAP, 0);
    windows_.Closed();
}

void frmMain::ShowMenuState() {
    MenuHandle bar = menu_.BuildMenuBar();
    SetMenu(window_, bar.Get());
    menuBar_ = std::move(bar);  // the previous bar is destroyed after the new one is attached
    DrawMenuBar(window_);
}

int frmMain::Message(const std::wstring& text, UINT flags) {
    return MessageBoxW(window_, text.c_str(), kProgramName, flags);
}

bool frmMain::LoadModel() {
    const std::wstring path = ProgramFolder() + L"kit.3ds";
    scene_.ModelFolder = WideToUtf8(FolderOfPath(path));
    clsFile3DS file(scene_);
    scene_.ModelLoaded = ToBool16(file.Read3DS(std::filesystem::path(path)));
    if (scene_.ModelLoaded == kFalse16) {
        menu_.SetEnabled(MenuEntry::Edit, false);
        ShowMenuState();
        Message(L"Loading Error", MB_OK | MB_ICONERROR);
        return false;
    }
    FitModelToView(scene_);
    // The model's own pictures replace the kit texture on its materials.
    WatchPicture(std::wstring(), {}, false);
    for (std::int32_t k = 0; k <= scene_.MaterialUBound; ++k) {
        const std::string textureFile = scene_.Materials[static_cast<std::size_t>(k)].TextureFile;
        LoadTextureOnMaterial(scene_, k, Utf8ToWide(scene_.ModelFolder + textureFile));
    }
    mnuVisualStyle_Click(kStyleGouraud);
    menu_.SetEnabled(MenuEntry::Edit, true);
    ShowMenuState();
    StartFrames();
    SetFocus(picCanvas_);
    return true;
}

void frmMain::StartFrames() { tmrProcess_.Start(window_, 1, 1); }

void frmMain::ApplyKitTexture(const std::wstring& path) {
    kitPath_ = path;
    DecodedPicture picture;
    std::wstring error;
    LoadPictureFile(path, picture, error);
    ShowKitPicture(picture);
    SetWindowTextW(Path_, path.c_str());
    for (std::int32_t k = 0; k <= 2 && k <= scene_.MaterialUBound; ++k) LoadTextureOnMaterial(scene_, k, path);
    mnuVisualStyle_Click(kStyleMapped);
    menu_.SetEnabled(MenuEntry::VisualStyleC, true);
    ShowMenuState();
    settings_.textureFolder = FolderOfPath(path);
    std::vector<std::int32_t> kitMaterials;
    for (std::int32_t k = 0; k <= 2 && k <= scene_.MaterialUBound; ++k) kitMaterials.push_back(k);
    WatchPicture(path, std::move(kitMaterials), true);
}

void frmMain::ShowKitPicture(const DecodedPicture& picture) {
    BitmapHandle thumbnail = MakeThumbnail(picture, kThumbWidth - 4, kThumbHeight - 4, GetSysColor(COLOR_BTNFACE));
    SendMessageW(Kit_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(thumbnail.Get()));
    kitBitmap_ = std::move(thumbnail);  // the one shown before is no longer in the control
}

void frmMain::WatchPicture(const std::wstring& path, std::vector<std::int32_t> materials, bool kit) {
    watchedMaterials_ = std::move(materials);
    watchingKit_ = kit;
    if (path.empty() || watchedMaterials_.empty() || !textureWatch_.Start(path)) {
        textureWatch_.Stop();
        watchedMaterials_.clear();
        watchingKit_ = false;
    }
}

void frmMain::MaterialPictureChosen(std::int32_t index, const std::wstring& path) {
    if (!path.empty()) {
        WatchPicture(path, {index}, false);
        return;
    }
    // Cancelled: that material shows no picture any more.
    std::erase(watchedMaterials_, index);
    if (watchedMaterials_.empty()) WatchPicture(std::wstring(), {}, false);
}

void frmMain::cmdTexture_Click() { mnuOpenTexture_Click(); }

void frmMain::mnuOpenTexture_Click() {
    LoadModel();
    clsCommonDialog dialog;
    dialog.hWnd(window_);
    dialog.DialogTitle(L"Open Texture");
    dialog.Filter(kOpenTextureFilter);
    dialog.InitDir(settings_.textureFolder);
    if (!dialog.ShowOpen()) return;
    if (closing_) return;
    ApplyKitTexture(dialog.FileName());
}

void frmMain::OpenKitTexture(const std::wstring& path) {
    if (scene_.ModelLoaded == kFalse16 && !LoadModel()) return;
    ApplyKitTexture(path);
}

void frmMain::mnuVisualStyle_Click(int index) {
    for (int i = 0; i < kVisualStyleCount; ++i) menu_.SetChecked(StyleEntry(i), i == index);
    scene_.CurrentStyle = index;
    ShowMenuState();
}

void frmMain::mnuLight_Click() {
    const bool on = !menu_.Checked(MenuEntry::Light);
    menu_.SetChecked(MenuEntry::Light, on);
    scene_.LightOn = ToBool16(on);
    ShowMenuState();
}

void frmMain::mnuDoubleSide_Click() {
    const bool on = !menu_.Checked(MenuEntry::DoubleSide);
    menu_.SetChecked(MenuEntry::DoubleSide, on);
    scene_.DoubleSided = ToBool16(on);
    ShowMenuState();
}

void frmMain::mnuMaterialEditor_Click() {
    frmMaterial editor(scene_, settings_);
    editor.OnPictureChosen([this](std::int32_t index, const std::wstring& path) { MaterialPictureChosen(index, path); });
    editor.ShowModal(instance_, window_);
}

void frmMain::mnuCredits_Click() { frmCredits::Show(instance_, windows_); }

void frmMain::mnuExit_Click() { DestroyWindow(window_); }

void frmMain::picCanvas_MouseDown(int button, POINT screenPoint) {
    if (button != 2) return;
    MenuHandle popup = menu_.BuildStylePopup();
    if (!popup) return;
    const UINT command = static_cast<UINT>(TrackPopupMenu(popup.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                          screenPoint.x, screenPoint.y, 0, window_, nullptr));
    if (command != 0) OnCommand(command);
}

void frmMain::DropFiles(HDROP drop) {
    DropHandle owned(drop);
    const UINT length = DragQueryFileW(owned.Get(), 0, nullptr, 0);
    if (length == 0) return;
    std::wstring path(length + 1, L'\0');
    DragQueryFileW(owned.Get(), 0, path.data(), length + 1);
    path.resize(length);
    owned.Reset();
    DecodedPicture probe;
    std::wstring error;
    if (!LoadPictureFile(path, probe, error)) {
        Message(path + L"\r\nis not a picture the viewer can use: " + error + L".", MB_OK | MB_ICONWARNING);
        return;
    }
    OpenKitTexture(path);
}

}  // namespace maglorin::win32
