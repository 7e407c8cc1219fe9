// The installer database on its own, installed and removed by the system's msiexec from the
// files FILES.7z and setup.msi.7z unpack to (the fixture unpacks them with 7zz).
#include <windows.h>
#include <msi.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "dist_facts.h"
#include "installed_product_win32.h"
#include "child_process_win32.h"

namespace maglorin::test_support {
namespace {

class InstallerDatabase : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        EnsureProductAbsent();
        ASSERT_NE(ProductState(), INSTALLSTATE_DEFAULT) << "an earlier run left the product installed";
    }
    void TearDown() override {
        EnsureProductAbsent();
        CoUninitialize();
    }

    static std::wstring Source() { return TestDataFolder() + L"msi-source\\"; }
};

TEST_F(InstallerDatabase, InstallsTheFilesBesideItIntoProgramFiles) {
    ASSERT_TRUE(FileExists(Source() + L"setup.msi"));
    ASSERT_EQ(ExitCodeOf(Msiexec(), L"/i " + Quoted(Source() + L"setup.msi") + L" /qn"), 0u);

    EXPECT_EQ(ProductState(), INSTALLSTATE_DEFAULT);
    for (const std::wstring& name : ProductFiles()) {
        const auto installed = ReadWholeFile(InstallFolder() + name);
        const auto built = ReadWholeFile(DistFolder() + L"files\\" + name);
        ASSERT_TRUE(built.has_value()) << "staged file missing";
        ASSERT_TRUE(installed.has_value()) << "not installed";
        EXPECT_TRUE(*installed == *built) << "installed file differs from the built one";
    }
}

TEST_F(InstallerDatabase, RegistersAShortcutAndAnAddRemoveProgramsEntry) {
    ASSERT_EQ(ExitCodeOf(Msiexec(), L"/i " + Quoted(Source() + L"setup.msi") + L" /qn"), 0u);

    const auto shortcut = FindShortcut();
    ASSERT_TRUE(shortcut.has_value()) << "no Start-menu shortcut";
    const auto target = ShortcutTarget(*shortcut);
    ASSERT_TRUE(target.has_value());
    EXPECT_TRUE(SameText(*target, InstallFolder() + L"maglorin.exe"));

    EXPECT_EQ(UninstallEntryValue(L"DisplayName"), L"Maglorin");
    EXPECT_EQ(UninstallEntryValue(L"DisplayVersion"), kProductVersion);
    const auto uninstall = UninstallEntryValue(L"UninstallString");
    ASSERT_TRUE(uninstall.has_value());
    EXPECT_NE(uninstall->find(kProductCode), std::wstring::npos);
}

TEST_F(InstallerDatabase, TheInstalledViewerStartsAndCloses) {
    ASSERT_EQ(ExitCodeOf(Msiexec(), L"/i " + Quoted(Source() + L"setup.msi") + L" /qn"), 0u);
    EXPECT_EQ(StartAndCloseViewer(InstallFolder() + L"maglorin.exe"), 0u);
}

TEST_F(InstallerDatabase, UninstallRemovesEverythingItInstalled) {
    ASSERT_EQ(ExitCodeOf(Msiexec(), L"/i " + Quoted(Source() + L"setup.msi") + L" /qn"), 0u);
    ASSERT_TRUE(FindShortcutFolder().has_value());
    ASSERT_TRUE(RememberedInstallFolder().has_value());
    EXPECT_TRUE(SameText(*RememberedInstallFolder(), InstallFolder()));

    ASSERT_EQ(ExitCodeOf(Msiexec(), L"/x " + std::wstring(kProductCode) + L" /qn"), 0u);
    EXPECT_NE(ProductState(), INSTALLSTATE_DEFAULT);
    EXPECT_FALSE(FolderExists(InstallFolder())) << "program folder left behind";
    EXPECT_FALSE(FindShortcutFolder().has_value()) << "Start-menu folder left behind";
    EXPECT_FALSE(UninstallEntryValue(L"DisplayName").has_value()) << "Add/Remove Programs entry left behind";
    EXPECT_FALSE(RememberedInstallFolder().has_value()) << "remembered install folder left behind";
}

}  // namespace
}  // namespace maglorin::test_support
