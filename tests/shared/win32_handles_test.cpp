// The Win32 handle kinds against the real system: each owner frees its object with the right
// function, so the object is gone afterwards, and treats the right value as "none".
#include "win32_handles.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace maglorin {
namespace {

// A kernel handle value still refers to an open object.
bool KernelHandleIsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer, length);
}

TEST(Win32HandlesTest, KernelObjectsAreClosedWhenTheirOwnerGoes) {
    HANDLE raw = nullptr;
    {
        EventHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        ASSERT_TRUE(event.IsValid());
        raw = event.Get();
        EXPECT_TRUE(KernelHandleIsOpen(raw));
        MutexHandle moved;
        moved = MutexHandle(CreateMutexW(nullptr, FALSE, nullptr));
        ASSERT_TRUE(moved.IsValid());
        EXPECT_TRUE(KernelHandleIsOpen(moved.Get()));
    }
    EXPECT_FALSE(KernelHandleIsOpen(raw));
}

TEST(Win32HandlesTest, AFileHandleTakesInvalidHandleValueAsNoneAndClosesTheFile) {
    const FileHandle failed(CreateFileW(L"Z:\\no such folder\\none.txt", GENERIC_READ, 0, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(failed.IsValid());

    const std::wstring path = TempFolder() + L"maglorin_handle_test.tmp";
    {
        FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file.IsValid());
        // Not shared: while the owner holds it, nobody else may open it.
        const FileHandle second(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_FALSE(second.IsValid());
    }
    {
        const FileHandle again(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(again.IsValid());
    }
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(Win32HandlesTest, ASearchIsClosedWithFindClose) {
    WIN32_FIND_DATAW found{};
    const std::wstring pattern = TempFolder() + L"*";
    HANDLE raw = INVALID_HANDLE_VALUE;
    {
        FindHandle search(FindFirstFileW(pattern.c_str(), &found));
        ASSERT_TRUE(search.IsValid());
        raw = search.Get();
    }
    // A closed search cannot be continued.
    EXPECT_FALSE(FindNextFileW(raw, &found));
    const FindHandle none(FindFirstFileW(L"Z:\\no such folder\\*", &found));
    EXPECT_FALSE(none.IsValid());
}

TEST(Win32HandlesTest, ARegistryKeyIsClosedAndReceiveClosesTheKeyHeldBefore) {
    const wchar_t* kTestKey = L"Software\\Maglorin\\HandleTest";
    RegistryKeyHandle key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key.Receive(), nullptr),
              ERROR_SUCCESS);
    const HKEY first = key.Get();
    DWORD values = 0;
    ASSERT_EQ(RegQueryInfoKeyW(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    // Asked for a new key, the owner closes the one it held first (checked before the system
    // may hand out the same value again).
    HKEY* slot = key.Receive();
    EXPECT_NE(RegQueryInfoKeyW(first, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kTestKey, 0, KEY_READ, slot), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    key.Reset();
    EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, kTestKey), ERROR_SUCCESS);
}

TEST(Win32HandlesTest, GdiObjectsMenusAndIconsAreDestroyed) {
    HGDIOBJ brush = nullptr;
    HGDIOBJ bitmap = nullptr;
    HGDIOBJ pen = nullptr;
    HMENU menu = nullptr;
    {
        BrushHandle ownedBrush(CreateSolidBrush(RGB(1, 2, 3)));
        BitmapHandle ownedBitmap(CreateBitmap(4, 4, 1, 1, nullptr));
        GdiObjectHandle ownedPen(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
        MenuHandle ownedMenu(CreatePopupMenu());
        brush = ownedBrush.Get();
        bitmap = ownedBitmap.Get();
        pen = ownedPen.Get();
        menu = ownedMenu.Get();
        EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
        EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
        EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
        EXPECT_TRUE(IsMenu(menu));
    }
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(GetObjectType(pen), 0u);
    EXPECT_FALSE(IsMenu(menu));
}

TEST(Win32HandlesTest, AMemoryDcIsDeletedAndASelectedObjectIsPutBack) {
    const WindowDc screen(nullptr);
    ASSERT_NE(screen.Get(), nullptr);
    HDC raw = nullptr;
    {
        MemoryDcHandle dc(CreateCompatibleDC(screen.Get()));
        ASSERT_TRUE(dc.IsValid());
        raw = dc.Get();
        const HGDIOBJ before = GetCurrentObject(raw, OBJ_BRUSH);
        const BrushHandle brush(CreateSolidBrush(RGB(9, 9, 9)));
        {
            const SelectScope select(raw, brush.Get());
            EXPECT_EQ(GetCurrentObject(raw, OBJ_BRUSH), brush.Get());
        }
        EXPECT_EQ(GetCurrentObject(raw, OBJ_BRUSH), before);
    }
    EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(Win32HandlesTest, LocalMemoryFromTheSystemIsFreed) {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(L"one two", &count);
    ASSERT_NE(arguments, nullptr);
    LocalMemoryHandle owned(arguments);
    EXPECT_EQ(count, 2);
    EXPECT_NE(LocalSize(owned.Get()), 0u);
    HLOCAL block = owned.Release();
    // Released: the caller frees it, exactly once (LocalFree answers null on success).
    EXPECT_EQ(LocalFree(block), nullptr);
}

TEST(Win32HandlesTest, ALoadedLibraryIsFreed) {
    // A system library no test loads otherwise; once freed, it is no longer in the process.
    const wchar_t* kLibrary = L"msimg32.dll";
    ASSERT_EQ(GetModuleHandleW(kLibrary), nullptr);
    {
        const LibraryHandle library(LoadLibraryW(kLibrary));
        ASSERT_TRUE(library.IsValid());
        EXPECT_EQ(GetModuleHandleW(kLibrary), library.Get());
    }
    EXPECT_EQ(GetModuleHandleW(kLibrary), nullptr);
}

TEST(Win32HandlesTest, AnInternetSessionIsClosed) {
    InternetHandle session(InternetOpenW(L"maglorin-test", INTERNET_OPEN_TYPE_DIRECT, nullptr,
                                         nullptr, 0));
    ASSERT_TRUE(session.IsValid());
    DWORD timeout = 0;
    DWORD size = sizeof(timeout);
    EXPECT_TRUE(InternetQueryOptionW(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, &size));
    const HINTERNET raw = session.Get();
    session.Reset();
    size = sizeof(timeout);
    EXPECT_FALSE(InternetQueryOptionW(raw, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, &size));
}

}  // namespace
}  // namespace maglorin
