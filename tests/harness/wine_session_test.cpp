#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WineSession, RunsOnTheWin32Api) {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(folder, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(folder).substr(1, 2), L":\\");
    EXPECT_EQ(sizeof(void*), 4u) << "the deliverables are 32-bit programs";
}

TEST(WineSession, HasADisplayForWindows) {
    HWND window = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    EXPECT_NE(dc, nullptr);
    EXPECT_GE(GetDeviceCaps(dc, BITSPIXEL), 24);
    ReleaseDC(window, dc);
    DestroyWindow(window);
}

}  // namespace
