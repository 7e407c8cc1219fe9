#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(WineSession, RunsOnTheWin32Api) {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(GetSystemDirectoryW(folder, MAX_PATH), 0u);
    EXPECT_EQ(std::wstring(folder).substr(1, 2), L":\\");
}

// Each Windows tree runs its programs natively in a prefix of its own width: the 32-bit tree in a
// 32-bit prefix, the 64-bit tree in a 64-bit one, so neither runs under WOW64.
TEST(WineSession, RunsProgramsInThePrefixOfTheirOwnWidth) {
    SYSTEM_INFO native = {};
    GetNativeSystemInfo(&native);
    BOOL wow64 = TRUE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_FALSE(wow64);
#ifdef _WIN64
    EXPECT_EQ(sizeof(void*), 8u);
    EXPECT_EQ(native.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_AMD64);
#else
    EXPECT_EQ(sizeof(void*), 4u) << "the shipped deliverables are 32-bit programs";
    EXPECT_EQ(native.wProcessorArchitecture, PROCESSOR_ARCHITECTURE_INTEL);
#endif
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
