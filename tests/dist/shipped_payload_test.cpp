// The shipped payload as setup itself sees it, before any setup.exe exists to carry it: the
// package built from the shipped manifest around a stand-in program image, opened by setup's
// reader, its setup.ini read by setup's parser, its main package unpacked by setup's extractor,
// and the unpacked database installed by the system's msiexec.
#include <windows.h>
#include <msi.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "configuration_file.h"
#include "dist_facts.h"
#include "extraction_paths.h"
#include "general_options.h"
#include "installed_product_win32.h"
#include "payload_extractor.h"
#include "payload_reader.h"
#include "child_process_win32.h"
#include "reference_lookups_win32.h"
#include "reference_resolver.h"

namespace maglorin::test_support {
namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring PackagePath() { return TestDataFolder() + L"payload\\maglorin-setup.exe"; }

class ShippedPayload : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        ASSERT_EQ(reader_.Open(PackagePath()), 0);
        const std::size_t entry = reader_.FindEntry(PayloadGroup::SetupFiles, PayloadFileType::Configuration);
        ASSERT_NE(entry, PayloadReader::kNone);
        const EntryWindow window = reader_.ReadWindow(entry);
        ConfigurationFile file;
        ASSERT_EQ(LoadConfigurationFile(PackagePath(), window.offset, window.size, file), 0);
        options_ = ReadGeneralOptions(file);
    }
    void TearDown() override { CoUninitialize(); }

    std::wstring EntryName(PayloadGroup group, PayloadFileType type) const {
        const std::size_t index = reader_.FindEntry(group, type);
        return index == PayloadReader::kNone ? L"(none)" : std::wstring(reader_.Entry(index).name);
    }

    PayloadReader reader_;
    GeneralOptions options_;
};

TEST_F(ShippedPayload, CarriesTheEntriesAndFlagsSetupLooksFor) {
    EXPECT_EQ(static_cast<unsigned>(reader_.Flags()), 0x21Au);
    const std::wstring subfolder = kPackageSubfolder;
    EXPECT_EQ(EntryName(PayloadGroup::ExtractionLibrary, PayloadFileType::ExtractionLibrary), L"decoder.dll");
    EXPECT_EQ(EntryName(PayloadGroup::CompressedDatabase, PayloadFileType::DatabaseArchive), subfolder + L"\\setup.msi");
    EXPECT_EQ(EntryName(PayloadGroup::CompressedDatabase, PayloadFileType::ProductArchive), subfolder + L"\\FILES.7z");
}

TEST_F(ShippedPayload, ItsConfigurationNamesTheProductAndAFolderUnderAppData) {
    EXPECT_EQ(Wide(options_.productCode), kProductCode);
    EXPECT_EQ(Wide(options_.defaultProdCode), kProductCode);
    EXPECT_EQ(Wide(options_.packageCode), kPackageCode);
    EXPECT_EQ(Wide(options_.upgradeCode), kUpgradeCode);
    EXPECT_EQ(options_.keepFiles, kKeepFilesDefault);
    EXPECT_FALSE(options_.allPlatforms) << "the package ships no transforms and no 64-bit database";
    // The archives' folder comes from DefaultProdCode, so it matches the entries' names.
    EXPECT_EQ(PackageSubFolderName(options_.defaultProdCode, reader_.DigestText()), std::wstring(kPackageSubfolder));

    SystemReferenceLookups lookups;
    const ReferenceResolver resolver(lookups, u"");
    const std::wstring folder = Wide(resolver.Resolve(options_.extractionFolder));
    EXPECT_TRUE(SameText(folder, AppDataFolder() + L"Maglorin\\install\\")) << std::string(folder.begin(), folder.end());
}

// What setup does for an install, step by step, with the system's msiexec at the end: the
// database it unpacks is the one the build made, and what it installs is registered under the
// codes setup.ini names (setup finds an installed copy of itself by them).
TEST_F(ShippedPayload, ItsMainPackageUnpacksIntoADatabaseMsiexecInstalls) {
    EnsureProductAbsent();
    const std::wstring folder = TestDataFolder() + L"payload-work\\";
    RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ExtractionSettings settings;
    settings.packageSubFolder = kPackageSubfolder;
    settings.userInterfaceEnabled = false;
    PathText database;
    {
        PayloadExtractor extractor(reader_, settings);
        extractor.SetExtractionFolder(folder);
        ASSERT_EQ(extractor.ExtractMainPackage(nullptr, database), 0);
        database = WithoutLongPathPrefix(database);
        EXPECT_TRUE(SameText(database, folder + kPackageSubfolder + L"\\setup.msi"));
        ASSERT_EQ(ExitCodeOf(Msiexec(), L"/i " + Quoted(database) + L" /qn"), 0u);
    }  // the extractor's clean-up at exit, default mode
    EXPECT_FALSE(FileExists(database)) << "the unpacked database outlived the clean-up";
    EXPECT_FALSE(FileExists(folder + L"decoder.dll"));

    EXPECT_EQ(ProductState(), INSTALLSTATE_DEFAULT);
    wchar_t related[39] = {};
    ASSERT_EQ(MsiEnumRelatedProductsW(kUpgradeCode, 0, 0, related), static_cast<UINT>(ERROR_SUCCESS));
    EXPECT_EQ(std::wstring(related), kProductCode);
    wchar_t packageCode[39] = {};
    DWORD size = 39;
    ASSERT_EQ(MsiGetProductInfoW(kProductCode, INSTALLPROPERTY_PACKAGECODE, packageCode, &size),
              static_cast<UINT>(ERROR_SUCCESS));
    EXPECT_EQ(std::wstring(packageCode), kPackageCode);
    EXPECT_EQ(ExitCodeOf(Msiexec(), L"/x " + std::wstring(kProductCode) + L" /qn"), 0u);
}

}  // namespace
}  // namespace maglorin::test_support
