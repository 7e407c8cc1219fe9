// The msi.dll binding under Wine, against products installed by the real msiexec.exe from
// databases built by wixl: related products, product information and state, database
// properties, the minor-upgrade test and the same-package search.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "installer_launch_win32.h"
#include "launch_test_support_win32.h"
#include "msi_library_win32.h"
#include "windows_bitness_win32.h"

namespace maglorin {
namespace {

using namespace test_support;

class InstalledKit : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        EnsureRemoved(kKitProduct);
        installResult = Msiexec(u" /i \"" + DataText("kit.msi") + u"\" /qn");
    }
    static void TearDownTestSuite() { EnsureRemoved(kKitProduct); }

    void SetUp() override {
        ASSERT_EQ(installResult, 0u) << "msiexec could not install kit.msi";
        ASSERT_TRUE(msi.Load());
    }

    static std::optional<std::uint32_t> installResult;
    MsiLibrary msi;
};

std::optional<std::uint32_t> InstalledKit::installResult;

TEST_F(InstalledKit, RelatedProductsOfTheUpgradeCodeHoldTheKit) {
    EXPECT_EQ(msi.RelatedProducts(kKitUpgrade), std::vector<std::u16string>{kKitProduct});
    EXPECT_TRUE(msi.RelatedProducts(u"{00000000-1111-2222-3333-444444444444}").empty());
}

TEST_F(InstalledKit, ProductInformationAsInstalled) {
    ASSERT_EQ(PackageCodeOf("kit").size(), 38u);
    EXPECT_EQ(msi.ProductInfo(kKitProduct, u"PackageCode"), PackageCodeOf("kit"));
    EXPECT_EQ(msi.ProductInfo(kKitProduct, u"VersionString"), u"1.2.0");
    EXPECT_EQ(msi.ProductInfo(kKitProduct, u"ProductName"), u"Maglorin Launch Kit");
    EXPECT_EQ(msi.ProductInfo(kKitProduct, u"InstallLocation"), u"C:\\MaglorinLaunchKit\\");
    EXPECT_FALSE(msi.ProductInfo(kFailingProduct, u"ProductName")) << "a product never installed has no name";
}

TEST_F(InstalledKit, ProductStateIsInstalledOnlyForTheKit) {
    EXPECT_EQ(msi.ProductState(kKitProduct), kProductStateInstalled);
    EXPECT_NE(msi.ProductState(kFailingProduct), kProductStateInstalled);
}

TEST_F(InstalledKit, DatabasePropertiesReadReadOnly) {
    const std::u16string path = DataText("kit-update.msi");
    const auto writtenBefore = std::filesystem::last_write_time(Data("kit-update.msi"));
    EXPECT_EQ(msi.DatabaseProperty(path, u"ProductCode"), kKitProduct);
    EXPECT_EQ(msi.DatabaseProperty(path, u"ProductVersion"), u"1.2.1");
    EXPECT_FALSE(msi.DatabaseProperty(path, u"NoSuchProperty"));
    EXPECT_FALSE(msi.DatabaseProperty(path, u"ProductCode' OR '1'='1")) << "a name that would change the query";
    EXPECT_FALSE(msi.DatabaseProperty(DataText("missing.msi"), u"ProductCode"));
    EXPECT_EQ(std::filesystem::last_write_time(Data("kit-update.msi")), writtenBefore) << "opened read-only";
}

TEST_F(InstalledKit, MinorUpgradeOnlyForANewerBuildOfTheInstalledProduct) {
    EXPECT_TRUE(IsMinorUpgrade(msi, DataText("kit-update.msi")));
    EXPECT_FALSE(IsMinorUpgrade(msi, DataText("kit.msi"))) << "the installed build itself";
    EXPECT_FALSE(IsMinorUpgrade(msi, DataText("failing.msi"))) << "a product that is not installed";
    EXPECT_FALSE(IsMinorUpgrade(msi, DataText("missing.msi")));
}

TEST_F(InstalledKit, SamePackageFoundByUpgradeAndPackageCode) {
    const std::u16string package = PackageCodeOf("kit");
    EXPECT_EQ(FindSamePackageInstall(kKitUpgrade, package), kKitProduct);
    std::u16string lowerCase = package;
    for (char16_t& c : lowerCase) {
        c = (c >= u'A' && c <= u'F') ? static_cast<char16_t>(c - u'A' + u'a') : c;
    }
    EXPECT_EQ(FindSamePackageInstall(kKitUpgrade, lowerCase), kKitProduct);
    EXPECT_FALSE(FindSamePackageInstall(kKitUpgrade, PackageCodeOf("kit-update")))
        << "the update's package is not the installed one";
}

TEST_F(InstalledKit, ComponentQueriesFindTheKitsFile) {
    const std::u16string component = u"{0B8E6C4A-2D1F-4E3B-A5C7-9F8D6E4B2A10}";
    const MsiLibrary::ComponentPath path = msi.GetComponentPath(kKitProduct, component);
    EXPECT_EQ(path.state, 3) << "INSTALLSTATE_LOCAL";
    EXPECT_EQ(path.path, u"C:\\MaglorinLaunchKit\\readme.txt");
    EXPECT_EQ(msi.LocateComponent(component).path, path.path);
    EXPECT_EQ(msi.ComponentClients(component), std::vector<std::u16string>{kKitProduct});
}

TEST(MsiLibraryTest, FileVersionOfTheInstallerLibrary) {
    MsiLibrary msi;
    ASSERT_TRUE(msi.Load());
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    const std::wstring path = std::wstring(folder, length) + L"\\msi.dll";
    const auto version = msi.FileVersion(std::u16string(path.begin(), path.end()));
    ASSERT_TRUE(version);
    EXPECT_GE(VersionNumber::Parse(*version), VersionNumber(2, 0, 0, 0)) << std::string(version->begin(), version->end());
    EXPECT_FALSE(msi.FileVersion(DataText("readme.txt"))) << "a file without a version resource";
}

TEST(MsiLibraryTest, UnloadedLibraryAnswersNothing) {
    MsiLibrary msi;
    EXPECT_TRUE(msi.RelatedProducts(kKitUpgrade).empty());
    EXPECT_FALSE(msi.ProductInfo(kKitProduct, u"ProductName"));
    EXPECT_NE(msi.ProductState(kKitProduct), kProductStateInstalled);
    EXPECT_FALSE(msi.DatabaseProperty(DataText("kit.msi"), u"ProductCode"));
}

TEST(WindowsBitness, SixtyFourBitWindowsHasAThirtyTwoBitSystemFolder) {
    // 64-bit Windows keeps its 32-bit system files in SysWOW64; 32-bit Windows has no such folder.
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT length = ::GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring wow64Folder = std::wstring(windows, length) + L"\\SysWOW64";
    const bool hasWow64Folder = ::GetFileAttributesW(wow64Folder.c_str()) != INVALID_FILE_ATTRIBUTES;
    EXPECT_EQ(IsWindows64Bit(), hasWow64Folder);
    if (sizeof(void*) == 8) {
        EXPECT_TRUE(IsWindows64Bit()) << "a 64-bit process is always on 64-bit Windows";
    }
}

}  // namespace
}  // namespace maglorin
