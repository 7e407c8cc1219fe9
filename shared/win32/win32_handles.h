#pragma once
// Every Win32 handle the programs hold is owned by one of the small types below: kernel objects
// (files, pipes, threads, events, processes, mutexes), directory searches, folder change
// notifications, registry keys, loaded libraries, shell item lists, Internet handles,
// installer-service handles, the screen's device context, the service manager and its lock,
// windows, GDI objects, menus, icons, dropped-file handles and LocalAlloc blocks; and a few scopes
// that undo a Win32 call when they end (a window's DC, painting, a selected object, a timer, COM, a
// COM interface pointer). All are move-only or fixed in place; each releases what it holds exactly
// once.

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>
#include <winsvc.h>

#include <atomic>

#include "unique_handle.h"

namespace maglorin {

// Files and pipes from CreateFileW: INVALID_HANDLE_VALUE when none.
struct FileHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Value handle) { ::CloseHandle(handle); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

// Threads, events, processes and mutexes: null when none.
struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return nullptr; }
    static void Close(Value handle) { ::CloseHandle(handle); }
};
using ThreadHandle = UniqueHandle<KernelHandleTraits>;
using EventHandle = UniqueHandle<KernelHandleTraits>;
using ProcessHandle = UniqueHandle<KernelHandleTraits>;
using MutexHandle = UniqueHandle<KernelHandleTraits>;
using TokenHandle = UniqueHandle<KernelHandleTraits>;  // an access token

// A folder's change notification from FindFirstChangeNotificationW.
struct ChangeNotificationTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Value handle) { ::FindCloseChangeNotification(handle); }
};
using ChangeNotificationHandle = UniqueHandle<ChangeNotificationTraits>;

// A directory search from FindFirstFileW.
struct FindHandleTraits {
    using Value = HANDLE;
    static Value Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Value handle) { ::FindClose(handle); }
};
using FindHandle = UniqueHandle<FindHandleTraits>;

struct RegistryKeyTraits {
    using Value = HKEY;
    static Value Invalid() { return nullptr; }
    static void Close(Value key) { ::RegCloseKey(key); }
};
using RegistryKeyHandle = UniqueHandle<RegistryKeyTraits>;

struct LibraryTraits {
    using Value = HMODULE;
    static Value Invalid() { return nullptr; }
    static void Close(Value module) { ::FreeLibrary(module); }
};
using LibraryHandle = UniqueHandle<LibraryTraits>;

// An item identifier list the shell allocated.
struct ItemIdListTraits {
    using Value = LPITEMIDLIST;
    static Value Invalid() { return nullptr; }
    static void Close(Value list) { ::CoTaskMemFree(list); }
};
using ItemIdListHandle = UniqueHandle<ItemIdListTraits>;

// A session, connection or request from WinINet (link wininet where used).
struct InternetTraits {
    using Value = HINTERNET;
    static Value Invalid() { return nullptr; }
    static void Close(Value handle) { ::InternetCloseHandle(handle); }
};
using InternetHandle = UniqueHandle<InternetTraits>;

// A block from LocalAlloc, or one a function allocated that way (CommandLineToArgvW,
// FormatMessageW with FORMAT_MESSAGE_ALLOCATE_BUFFER).
struct LocalMemoryTraits {
    using Value = HLOCAL;
    static Value Invalid() { return nullptr; }
    static void Close(Value block) { ::LocalFree(block); }
};
using LocalMemoryHandle = UniqueHandle<LocalMemoryTraits>;

// GDI objects: pens, brushes, fonts and bitmaps, by their own type or as any object.
template <typename Object>
struct GdiObjectTraits {
    using Value = Object;
    static Value Invalid() { return nullptr; }
    static void Close(Value object) { ::DeleteObject(object); }
};
using GdiObjectHandle = UniqueHandle<GdiObjectTraits<HGDIOBJ>>;
using BitmapHandle = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using BrushHandle = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using FontHandle = UniqueHandle<GdiObjectTraits<HFONT>>;

// A device context from CreateCompatibleDC (a window's own DC is a WindowDc below).
struct MemoryDcTraits {
    using Value = HDC;
    static Value Invalid() { return nullptr; }
    static void Close(Value dc) { ::DeleteDC(dc); }
};
using MemoryDcHandle = UniqueHandle<MemoryDcTraits>;

// A menu not attached to a window (a window destroys its own menu bar).
struct MenuTraits {
    using Value = HMENU;
    static Value Invalid() { return nullptr; }
    static void Close(Value menu) { ::DestroyMenu(menu); }
};
using MenuHandle = UniqueHandle<MenuTraits>;

struct IconTraits {
    using Value = HICON;
    static Value Invalid() { return nullptr; }
    static void Close(Value icon) { ::DestroyIcon(icon); }
};
using IconHandle = UniqueHandle<IconTraits>;

// A dropped-files handle, finished once read.
struct DropTraits {
    using Value = HDROP;
    static Value Invalid() { return nullptr; }
    static void Close(Value drop) { ::DragFinish(drop); }
};
using DropHandle = UniqueHandle<DropTraits>;

// An installer-service handle (database, view, record). msi.dll is loaded by MsiLibrary, which
// outlives every handle it hands out; the close function is taken from the loaded module.
struct MsiHandleTraits {
    using Value = unsigned long;  // MSIHANDLE
    static Value Invalid() { return 0; }
    static void Close(Value handle) {
        using CloseFunction = UINT(WINAPI*)(unsigned long);
        if (const HMODULE msi = ::GetModuleHandleW(L"msi.dll")) {
            if (const auto close = reinterpret_cast<CloseFunction>(
                    reinterpret_cast<void*>(::GetProcAddress(msi, "MsiCloseHandle")))) {
                close(handle);
            }
        }
    }
};
using MsiHandle = UniqueHandle<MsiHandleTraits>;

// The screen's device context from GetDC(nullptr).
struct ScreenDcTraits {
    using Value = HDC;
    static Value Invalid() { return nullptr; }
    static void Close(Value dc) { ::ReleaseDC(nullptr, dc); }
};
using ScreenDcHandle = UniqueHandle<ScreenDcTraits>;

// The service control manager from OpenSCManagerW.
struct ServiceManagerTraits {
    using Value = SC_HANDLE;
    static Value Invalid() { return nullptr; }
    static void Close(Value manager) { ::CloseServiceHandle(manager); }
};
using ServiceManagerHandle = UniqueHandle<ServiceManagerTraits>;
using ServiceHandle = UniqueHandle<ServiceManagerTraits>;  // one service from OpenServiceW

// A lock on the service database from LockServiceDatabase; closing unlocks it.
struct ServiceDatabaseLockTraits {
    using Value = SC_LOCK;
    static Value Invalid() { return nullptr; }
    static void Close(Value lock) { ::UnlockServiceDatabase(lock); }
};
using ServiceDatabaseLockHandle = UniqueHandle<ServiceDatabaseLockTraits>;

// A window this program created and destroys itself (never one it was handed).
struct WindowTraits {
    using Value = HWND;
    static Value Invalid() { return nullptr; }
    static void Close(Value window) { ::DestroyWindow(window); }
};
using WindowHandle = UniqueHandle<WindowTraits>;

// Component interfaces: one reference, released when the owner goes.
template <typename Interface>
struct ComInterfaceTraits {
    using Value = Interface*;
    static Value Invalid() { return nullptr; }
    static void Close(Value pointer) { pointer->Release(); }
};
template <typename Interface>
using ComInterface = UniqueHandle<ComInterfaceTraits<Interface>>;

// An Internet handle that a second thread may close to unblock the one using it (a cancel):
// whichever thread closes first closes it, the other finds it gone. Not movable.
class SharedInternetHandle {
public:
    SharedInternetHandle() = default;
    ~SharedInternetHandle() { Close(); }
    SharedInternetHandle(const SharedInternetHandle&) = delete;
    SharedInternetHandle& operator=(const SharedInternetHandle&) = delete;

    HINTERNET Get() const { return value_.load(); }
    bool IsValid() const { return Get() != nullptr; }
    // Takes ownership of a new handle, closing any held one.
    void Reset(HINTERNET handle = nullptr) {
        if (HINTERNET old = value_.exchange(handle)) {
            ::InternetCloseHandle(old);
        }
    }
    void Close() { Reset(); }

private:
    std::atomic<HINTERNET> value_{nullptr};
};


// A window's device context from GetDC, released to the same window.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ::ReleaseDC(window_, dc_);
        }
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
    explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &paint_); }
    ~PaintScope() { ::EndPaint(window_, &paint_); }
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
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectScope() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            ::SelectObject(dc_, previous_);
        }
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
        if (::SetTimer(window, id, intervalMs, nullptr) != 0) {
            window_ = window;
            id_ = id;
        }
    }
    void Stop() {
        if (window_ != nullptr) {
            ::KillTimer(window_, id_);
        }
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
    ComScope() : ok_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (ok_) {
            ::CoUninitialize();
        }
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    bool ok_;
};

}  // namespace maglorin
