#pragma once
// Every Win32 handle setup holds is owned by one of the small types below: files, pipes, find
// handles, threads, events, processes, registry keys, loaded libraries, shell item lists,
// installer-service handles, the screen's device context, the service manager and its lock,
// the single-instance mutex, windows and Internet handles.
// Each closes its handle in its destructor; all are move-only.

#include <windows.h>
#include <shlobj.h>
#include <wininet.h>

#include <atomic>

#include <utility>

namespace maglorin {

// Traits: Value, Invalid() and Close(Value) for one kind of handle.
template <typename Traits>
class UniqueHandle {
public:
    using Value = typename Traits::Value;

    UniqueHandle() = default;
    explicit UniqueHandle(Value value) : value_(value) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Value Get() const { return value_; }
    bool IsValid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return IsValid(); }

    // For functions that hand a new handle back through a pointer; any held handle is closed.
    Value* Receive() {
        Reset();
        return &value_;
    }
    // The caller owns the returned handle.
    Value Release() { return std::exchange(value_, Traits::Invalid()); }
    void Reset(Value value = Traits::Invalid()) {
        const Value old = std::exchange(value_, value);
        if (old != Traits::Invalid()) {
            Traits::Close(old);
        }
    }

private:
    Value value_ = Traits::Invalid();
};

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

// A lock on the service database from LockServiceDatabase; closing unlocks it.
struct ServiceDatabaseLockTraits {
    using Value = SC_LOCK;
    static Value Invalid() { return nullptr; }
    static void Close(Value lock) { ::UnlockServiceDatabase(lock); }
};
using ServiceDatabaseLockHandle = UniqueHandle<ServiceDatabaseLockTraits>;

// The named single-instance lock of setup.
using MutexHandle = UniqueHandle<KernelHandleTraits>;
using TokenHandle = UniqueHandle<KernelHandleTraits>;  // an access token

// A window this program created and destroys itself (never one it was handed).
struct WindowTraits {
    using Value = HWND;
    static Value Invalid() { return nullptr; }
    static void Close(Value window) { ::DestroyWindow(window); }
};
using WindowHandle = UniqueHandle<WindowTraits>;

// An item identifier list the shell allocated.
struct ItemIdListTraits {
    using Value = LPITEMIDLIST;
    static Value Invalid() { return nullptr; }
    static void Close(Value list) { ::CoTaskMemFree(list); }
};
using ItemIdListHandle = UniqueHandle<ItemIdListTraits>;

// Internet sessions, connections and requests (WinINet).
struct InternetHandleTraits {
    using Value = HINTERNET;
    static Value Invalid() { return nullptr; }
    static void Close(Value handle) { ::InternetCloseHandle(handle); }
};
using InternetHandle = UniqueHandle<InternetHandleTraits>;

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

}  // namespace maglorin
