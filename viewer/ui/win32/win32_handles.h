#pragma once
// Owners of the Win32 handles the window layer holds: each frees its handle exactly once, on
// destruction or reset, and can be moved but not copied.

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <utility>

namespace maglorin::win32 {

// A handle with a free function; Invalid() is the "no handle" value.
template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        Handle old = std::exchange(handle_, handle);
        if (old != Traits::Invalid()) Traits::Free(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Free(HGDIOBJ h) { DeleteObject(h); }
};
struct BitmapTraits {
    static HBITMAP Invalid() { return nullptr; }
    static void Free(HBITMAP h) { DeleteObject(h); }
};
struct BrushTraits {
    static HBRUSH Invalid() { return nullptr; }
    static void Free(HBRUSH h) { DeleteObject(h); }
};
struct FontTraits {
    static HFONT Invalid() { return nullptr; }
    static void Free(HFONT h) { DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Free(HDC h) { DeleteDC(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Free(HMENU h) { DestroyMenu(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Free(HICON h) { DestroyIcon(h); }
};
struct RegistryKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Free(HKEY h) { RegCloseKey(h); }
};
struct ItemIdListTraits {
    static PIDLIST_ABSOLUTE Invalid() { return nullptr; }
    static void Free(PIDLIST_ABSOLUTE h) { CoTaskMemFree(h); }
};
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { CloseHandle(h); }
};
struct DropTraits {
    static HDROP Invalid() { return nullptr; }
    static void Free(HDROP h) { DragFinish(h); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, BitmapTraits>;
using UniqueBrush = UniqueHandle<HBRUSH, BrushTraits>;
using UniqueFont = UniqueHandle<HFONT, FontTraits>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;  // from CreateCompatibleDC
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;        // a menu not attached to a window
using UniqueIcon = UniqueHandle<HICON, IconTraits>;
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;
using UniqueItemIdList = UniqueHandle<PIDLIST_ABSOLUTE, ItemIdListTraits>;
using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueDrop = UniqueHandle<HDROP, DropTraits>;  // a dropped-files handle, finished once read

// A window's device context from GetDC, released to the same window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint / EndPaint of one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_ = nullptr;
};

// An object selected into a DC for the scope, the previous one put back at the end.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectScope() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window timer, killed with its owner's id when the owner goes.
class WindowTimer {
public:
    WindowTimer() = default;
    ~WindowTimer() { Stop(); }
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;

    void Start(HWND window, UINT_PTR id, UINT intervalMs) {
        Stop();
        if (SetTimer(window, id, intervalMs, nullptr) != 0) {
            window_ = window;
            id_ = id;
        }
    }
    void Stop() {
        if (window_ != nullptr) KillTimer(window_, id_);
        window_ = nullptr;
    }
    bool Running() const { return window_ != nullptr; }

private:
    HWND window_ = nullptr;
    UINT_PTR id_ = 0;
};

// COM for the calling thread (the picture service and the shell dialogs need it).
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (ok_) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool ok_;
};

// A COM interface pointer released once.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    Interface* Get() const { return p_; }
    Interface* operator->() const { return p_; }
    Interface** Put() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_ != nullptr) p_->Release();
        p_ = nullptr;
    }

private:
    Interface* p_ = nullptr;
};

}  // namespace maglorin::win32
