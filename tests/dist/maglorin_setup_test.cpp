// maglorin-setup.exe end to end under Wine with the system's msiexec. Each test runs its own copy
// of the shipped package (its own digest and extraction folder; see make_setup_packages.sh) and
// reads setup's full exit code through CreateProcess.
#include <windows.h>
#include <msi.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "dist_facts.h"
#include "installed_product_win32.h"
#include "child_process_win32.h"
#include "win32_handles.h"

namespace maglorin::test_support {
namespace {

using MutexHandle = UniqueHandle<KernelHandleTraits>;

inline constexpr DWORD kInstallFailure = 1603;

std::wstring Package(const std::wstring& name) { return TestDataFolder() + name + L"\\maglorin-setup.exe"; }

// [AppDataFolder]MaglorinTests\NAME\install: the package's extraction folder.
std::wstring ExtractionFolder(const std::wstring& name) {
    return AppDataFolder() + L"MaglorinTests\\" + name + L"\\install\\";
}

std::wstring Digest(const std::wstring& name) {
    const auto text = ReadWholeFile(TestDataFolder() + name + L"\\digest.txt");
    std::wstring digest;
    if (text) {
        for (char c : *text) {
            if (c > ' ') {
                digest += static_cast<wchar_t>(c);
            }
        }
    }
    return digest;
}

std::optional<DWORD> RunSetup(const std::wstring& name, const std::wstring& options) {
    return ExitCodeOf(Package(name), options);
}

// Every product file in `folder` has the bytes the build made.
void ExpectProductFilesIn(const std::wstring& folder) {
    for (const std::wstring& file : ProductFiles()) {
        const auto found = ReadWholeFile(folder + file);
        const auto built = ReadWholeFile(DistFolder() + L"files\\" + file);
        ASSERT_TRUE(built.has_value());
        ASSERT_TRUE(found.has_value()) << "missing: " << std::string(file.begin(), file.end());
        EXPECT_TRUE(*found == *built) << "differs: " << std::string(file.begin(), file.end());
    }
}

class ShippedInstaller : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        EnsureProductAbsent();
        ASSERT_NE(ProductState(), INSTALLSTATE_DEFAULT) << "an earlier run left the product installed";
        RemoveTree(AppDataFolder() + L"MaglorinTests");
    }
    void TearDown() override {
        EnsureProductAbsent();
        RemoveTree(AppDataFolder() + L"MaglorinTests");
        CoUninitialize();
    }
};

TEST_F(ShippedInstaller, QuietInstallThenUninstallLeavesNothing) {
    ASSERT_TRUE(FileExists(Package(L"quiet")));
    ASSERT_EQ(RunSetup(L"quiet", L"/exenoui /qn"), 0u);

    EXPECT_EQ(ProductState(), INSTALLSTATE_DEFAULT);
    ExpectProductFilesIn(InstallFolder());
    EXPECT_TRUE(FindShortcut().has_value());
    EXPECT_EQ(UninstallEntryValue(L"DisplayVersion"), kProductVersion);
    EXPECT_EQ(StartAndCloseViewer(InstallFolder() + L"maglorin.exe"), 0u);
    // Default clean-up: the unpacked database and product files, the extraction library and the
    // folders setup made are all gone once the install succeeded.
    EXPECT_FALSE(FolderExists(ExtractionFolder(L"quiet"))) << "extracted files left behind";

    ASSERT_EQ(ExitCodeOf(Msiexec(), L"/x " + std::wstring(kProductCode) + L" /qn"), 0u);
    EXPECT_NE(ProductState(), INSTALLSTATE_DEFAULT);
    EXPECT_FALSE(FolderExists(InstallFolder()));
    EXPECT_FALSE(FindShortcutFolder().has_value());
    EXPECT_FALSE(UninstallEntryValue(L"DisplayName").has_value());
}

TEST_F(ShippedInstaller, UserOptionsInTheTailReachMsiexec) {
    const std::wstring elsewhere = L"C:\\MaglorinTail\\";
    RemoveTree(elsewhere);
    ASSERT_EQ(RunSetup(L"tail", L"/exenoui /qn INSTALLDIR=C:\\MaglorinTail"), 0u);

    EXPECT_EQ(ProductState(), INSTALLSTATE_DEFAULT);
    ExpectProductFilesIn(elsewhere);
    EXPECT_FALSE(FileExists(InstallFolder() + L"maglorin.exe")) << "the tail's INSTALLDIR was not used";
    ASSERT_EQ(ExitCodeOf(Msiexec(), L"/x " + std::wstring(kProductCode) + L" /qn"), 0u);
    EXPECT_FALSE(FolderExists(elsewhere));
}

TEST_F(ShippedInstaller, ExtractWritesThePayloadAndKeepsIt) {
    const std::wstring out = TestDataFolder() + L"extract\\out\\";
    RemoveTree(out);
    ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
    ASSERT_EQ(RunSetup(L"extract", L"/extract:" + Quoted(out.substr(0, out.size() - 1))), 0u);

    const std::wstring unpacked = out + kPackageSubfolder + L"\\";
    const auto database = ReadWholeFile(unpacked + L"setup.msi");
    const auto builtDatabase = ReadWholeFile(DistFolder() + L"setup.msi");
    ASSERT_TRUE(database.has_value()) << "setup.msi not extracted";
    ASSERT_TRUE(builtDatabase.has_value());
    EXPECT_TRUE(*database == *builtDatabase);
    ExpectProductFilesIn(unpacked);
    EXPECT_FALSE(FileExists(out + L"decoder.dll")) << "the extraction library is setup's own, not payload";
    EXPECT_NE(ProductState(), INSTALLSTATE_DEFAULT) << "extracting must not install";
}

TEST_F(ShippedInstaller, AFailingDatabasesExitCodePassesThroughWhole) {
    // 1603 is 67 in Wine's 8-bit exit status: only the full code proves the pass-through.
    EXPECT_EQ(RunSetup(L"failing", L"/exenoui /qn"), kInstallFailure);
    EXPECT_NE(ProductState(), INSTALLSTATE_DEFAULT);
    // A failed install removes the main package files it extracted.
    EXPECT_FALSE(FileExists(ExtractionFolder(L"failing") + kPackageSubfolder + L"\\setup.msi"));
    EXPECT_FALSE(FileExists(ExtractionFolder(L"failing") + L"decoder.dll"));
}

TEST_F(ShippedInstaller, ASecondCopySeesTheLockAndInstallsNothing) {
    const std::wstring lockName = L"Torvexa_" + Digest(L"lock");
    ASSERT_EQ(lockName.size(), 8u + 32u);
    // What a first copy of this package holds while it runs.
    MutexHandle firstCopy(CreateMutexW(nullptr, FALSE, lockName.c_str()));
    ASSERT_TRUE(firstCopy);

    const test_support::ProgramRun second = RunToEnd(Package(L"lock"), L"");
    ASSERT_TRUE(second.finished);
    EXPECT_EQ(second.exitCode, 0u);
    ASSERT_EQ(second.dialogs.size(), 1u) << "the second copy's message, and nothing else";
    EXPECT_EQ(second.dialogs[0].text, L"Another instance of setup is already running.");
    EXPECT_NE(ProductState(), INSTALLSTATE_DEFAULT);
    EXPECT_FALSE(FolderExists(ExtractionFolder(L"lock") + kPackageSubfolder));
}

TEST_F(ShippedInstaller, AQuietCopyIgnoresTheLock) {
    MutexHandle firstCopy(CreateMutexW(nullptr, FALSE, (L"Torvexa_" + Digest(L"lock")).c_str()));
    ASSERT_TRUE(firstCopy);
    EXPECT_EQ(RunSetup(L"lock", L"/exenoui /qn"), 0u);
    EXPECT_EQ(ProductState(), INSTALLSTATE_DEFAULT);
}

TEST_F(ShippedInstaller, KeepFilesMinimumKeepsTheMainPackageOnly) {
    ASSERT_EQ(RunSetup(L"keep", L"/exenoui /qn"), 0u);
    EXPECT_EQ(ProductState(), INSTALLSTATE_DEFAULT);
    const std::wstring unpacked = ExtractionFolder(L"keep") + kPackageSubfolder + L"\\";
    EXPECT_TRUE(FileExists(unpacked + L"setup.msi"));
    ExpectProductFilesIn(unpacked);
    EXPECT_FALSE(FileExists(ExtractionFolder(L"keep") + L"decoder.dll"));
}

}  // namespace
}  // namespace maglorin::test_support
