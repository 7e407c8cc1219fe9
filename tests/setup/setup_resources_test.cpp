// The resources of the built setup.exe: every text of the id list is in its string table under
// its id, exactly; the version resource names the product and lists its translation.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup_string_ids.h"

namespace maglorin {
namespace {

class SetupResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = ::LoadLibraryExW(L"setup.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "setup.exe beside the test";
    }
    void TearDown() override {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }
    HMODULE module_ = nullptr;
};

TEST_F(SetupResources, EveryIdHasItsTextInTheStringTable) {
    for (const SetupStringText& entry : kSetupStrings) {
        const wchar_t* text = nullptr;
        const int length = ::LoadStringW(module_, entry.id, reinterpret_cast<LPWSTR>(&text), 0);
        ASSERT_GT(length, 0) << "id " << entry.id;
        const std::u16string expected(entry.text);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length)), expected)
            << "id " << entry.id;
    }
}

TEST_F(SetupResources, VersionResourceNamesTheProductInItsFirstTranslation) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(L"setup.exe", &ignored);
    ASSERT_GT(size, 0u);
    std::vector<unsigned char> data(size);
    ASSERT_TRUE(::GetFileVersionInfoW(L"setup.exe", 0, size, data.data()));
    void* translation = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &translation, &bytes));
    ASSERT_GE(bytes, 4u);
    const WORD* pair = static_cast<const WORD*>(translation);
    wchar_t query[64];
    swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\ProductName", pair[0], pair[1]);
    void* name = nullptr;
    UINT chars = 0;
    ASSERT_TRUE(::VerQueryValueW(data.data(), query, &name, &chars)) << "no ProductName under the listed translation";
    EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(name)), L"Maglorin");
}

}  // namespace
}  // namespace maglorin
