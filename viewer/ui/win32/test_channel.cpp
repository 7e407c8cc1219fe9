#include "ui/win32/test_channel.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "geometry/view_control.h"
#include "ui/win32/frmMain.h"
#include "ui/win32/text_encoding.h"
#include "win32_handles.h"

namespace maglorin::win32 {

namespace {

void PutVec(std::ostringstream& out, const char* name, const Vec4& v) {
    out << name << '=' << v.x << ',' << v.y << ',' << v.z << '\n';
}

std::uint32_t Fnv1a(const std::uint32_t* words, std::size_t count) {
    std::uint32_t hash = 2166136261u;
    for (std::size_t i = 0; i < count; ++i) {
        hash = (hash ^ words[i]) * 16777619u;
    }
    return hash;
}

// The menu the window shows, as attached: one line per entry with its path and state.
void PutMenu(std::ostringstream& out, HMENU menu, const std::wstring& path) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t caption[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = caption;
        info.cch = 127;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const std::wstring name = (info.fType & MFT_SEPARATOR) ? L"-" : std::wstring(caption);
        const std::wstring full = path.empty() ? name : path + L"/" + name;
        out << "Menu=" << WideToUtf8(full) << '|' << ((info.fState & MFS_GRAYED) ? "disabled" : "enabled")
            << '|' << ((info.fState & MFS_CHECKED) ? "checked" : "unchecked") << '\n';
        if (info.hSubMenu != nullptr) PutMenu(out, info.hSubMenu, full);
    }
}

}  // namespace

TestChannel* TestChannel::FromEnvironment(TestChannel& storage) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(L"MAGLORIN_TEST_CHANNEL", value, 1024);
    if (length == 0 || length >= 1024) return nullptr;
    storage.replyFile_ = value;
    return &storage;
}

void TestChannel::Attach(frmMain& window, Scene& scene) {
    window_ = &window;
    scene_ = &scene;
}

LRESULT TestChannel::Handle(const COPYDATASTRUCT* request) {
    if (request == nullptr || request->dwData != kTestChannelTag || window_ == nullptr) return 0;
    const std::string command(static_cast<const char*>(request->lpData), request->cbData);
    if (command == "state") return WriteReply(StateReport()) ? 1 : 0;
    if (command == "decodes") {
        return WriteReply("DecodeCount=" + std::to_string(window_->ReloadDecodeCount()) + "\n") ? 1 : 0;
    }
    if (command == "pause") {
        window_->PauseTicks(true);
        return 1;
    }
    if (command == "resume") {
        window_->PauseTicks(false);
        return 1;
    }
    if (command.rfind("tick ", 0) == 0) {
        window_->RunTicks(std::atoi(command.c_str() + 5));
        return 1;
    }
    return 0;
}

std::string TestChannel::StateReport() const {
    const Scene& s = *scene_;
    std::ostringstream out;
    out << "ModelLoaded=" << (s.ModelLoaded != 0 ? 1 : 0) << '\n';
    out << "CurrentStyle=" << s.CurrentStyle << '\n';
    out << "LightOn=" << (s.LightOn != 0 ? 1 : 0) << '\n';
    out << "DoubleSided=" << (s.DoubleSided != 0 ? 1 : 0) << '\n';
    PutVec(out, "ModelRotation", s.ModelRotation);
    PutVec(out, "ModelScale", s.ModelScale);
    PutVec(out, "ModelTranslation", s.ModelTranslation);
    PutVec(out, "CameraPosition", s.Camera.Position);
    PutVec(out, "CameraTarget", s.Camera.Target);
    PutVec(out, "CameraUp", s.Camera.Up);
    out << "CameraRoll=" << s.Camera.Roll << '\n';
    out << "FocalLength=" << s.Camera.FocalLength << '\n';
    PutVec(out, "LightPosition", s.Light.Position);
    out << "Canvas=" << s.CanvasWidth << ',' << s.CanvasHeight << '\n';
    out << "Clip=" << s.ClipLeft << ',' << s.ClipTop << ',' << s.ClipRight << ',' << s.ClipBottom << '\n';
    out << "Background=" << s.BackgroundSurface.Width() << ',' << s.BackgroundSurface.Height() << '\n';
    out << "FrameCount=" << window_->FrameCount() << '\n';
    const std::uint32_t* frame = s.FrameSurface.Data();
    out << "FrameHash="
        << (frame != nullptr ? Fnv1a(frame, static_cast<std::size_t>(s.FrameSurface.Width()) * s.FrameSurface.Height())
                             : 0u)
        << '\n';
    // The frame's pixel at the canvas centre, as red, green, blue.
    if (frame != nullptr && s.CentreX >= 0 && s.CentreX < s.FrameSurface.Width() && s.CentreY >= 0 &&
        s.CentreY < s.FrameSurface.Height()) {
        const std::uint32_t centre =
            frame[static_cast<std::size_t>(s.CentreY) * static_cast<std::size_t>(s.FrameSurface.Width()) +
                  static_cast<std::size_t>(s.CentreX)];
        out << "FrameCentre=" << ((centre >> 16) & 0xFF) << ',' << ((centre >> 8) & 0xFF) << ',' << (centre & 0xFF)
            << '\n';
    }
    out << "DecodeCount=" << window_->ReloadDecodeCount() << '\n';
    out << "Timer=" << (window_->TimerRunning() ? 1 : 0) << '\n';
    out << "KitPath=" << WideToUtf8(window_->KitPath()) << '\n';
    out << "KeysHeld=";
    for (int code : kControlKeys) {
        if (GetKeyState(code) & 0x8000) out << code << ' ';
    }
    out << '\n';
    out << "MaterialUBound=" << s.MaterialUBound << '\n';
    for (int k = 0; k <= s.MaterialUBound; ++k) {
        const Material& m = s.Materials[static_cast<std::size_t>(k)];
        const std::uint32_t* work = m.TextureWork.Data();
        const std::size_t words = static_cast<std::size_t>(m.TextureWork.Width()) * m.TextureWork.Height();
        out << "Material" << k << '=' << (m.HasTexture != 0 ? 1 : 0) << ',' << m.UScale << ',' << m.VScale << ','
            << m.UOffset << ',' << m.VOffset << ',' << m.Rotation << ',' << m.Transparency << ','
            << static_cast<int>(m.Mirror) << ',' << static_cast<int>(m.Flip) << ','
            << (work != nullptr ? Fnv1a(work, words) : 0u) << '\n';
    }
    for (const MenuItemState& item : window_->Menu().Items()) {
        out << "MenuModel=" << WideToUtf8(item.caption) << '|' << (item.visible ? "visible" : "hidden") << '|'
            << (item.enabled ? "enabled" : "disabled") << '|' << (item.checked ? "checked" : "unchecked") << '\n';
    }
    PutMenu(out, GetMenu(window_->Window()), L"");
    return out.str();
}

bool TestChannel::WriteReply(const std::string& text) const {
    FileHandle file(CreateFileW(replyFile_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

}  // namespace maglorin::win32
