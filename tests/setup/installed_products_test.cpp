#include "installed_products.h"

#include <gtest/gtest.h>

#include "fake_installed_products.h"

namespace maglorin {
namespace {

using test_support::FakeInstalledProducts;

constexpr char16_t kUpgrade[] = u"{11111111-2222-3333-4444-555555555555}";
constexpr char16_t kPackage[] = u"{AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE}";

TEST(SamePackageInstall, TakesTheFirstRelatedProductWithThisPackageCode) {
    FakeInstalledProducts products;
    products.related[kUpgrade] = {u"{P1}", u"{P2}", u"{P3}"};
    products.info[{u"{P1}", u"PackageCode"}] = u"{00000000-0000-0000-0000-000000000000}";
    products.info[{u"{P2}", u"PackageCode"}] = kPackage;
    products.info[{u"{P3}", u"PackageCode"}] = kPackage;
    EXPECT_EQ(FindSamePackageInstall(products, kUpgrade, kPackage), u"{P2}");
}

TEST(SamePackageInstall, PackageCodesMatchWhateverTheCaseOfTheirDigits) {
    FakeInstalledProducts products;
    products.related[kUpgrade] = {u"{P1}"};
    products.info[{u"{P1}", u"PackageCode"}] = u"{aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee}";
    EXPECT_EQ(FindSamePackageInstall(products, kUpgrade, kPackage), u"{P1}");
}

TEST(SamePackageInstall, NothingFoundWithoutCodesOrMatches) {
    FakeInstalledProducts products;
    products.related[kUpgrade] = {u"{P1}"};
    products.info[{u"{P1}", u"PackageCode"}] = u"{OTHER}";
    EXPECT_FALSE(FindSamePackageInstall(products, kUpgrade, kPackage));
    EXPECT_FALSE(FindSamePackageInstall(products, u"", kPackage));
    EXPECT_FALSE(FindSamePackageInstall(products, kUpgrade, u""));
    EXPECT_FALSE(FindSamePackageInstall(products, u"{NO-SUCH-FAMILY}", kPackage));
}

struct MinorUpgradeCase {
    const char* behaviour;
    std::u16string databaseCode;     // empty: the database has no ProductCode
    std::u16string databaseVersion;  // empty: no ProductVersion
    std::int32_t state;
    std::u16string installedVersion; // empty: VersionString cannot be read
    bool expected;
};

class MinorUpgrade : public ::testing::TestWithParam<MinorUpgradeCase> {};

TEST_P(MinorUpgrade, ComparesTheInstalledVersionWithTheDatabase) {
    const MinorUpgradeCase& c = GetParam();
    FakeInstalledProducts products;
    const std::u16string path = u"C:\\x\\setup.msi";
    if (!c.databaseCode.empty()) {
        products.database[{path, u"ProductCode"}] = c.databaseCode;
    }
    if (!c.databaseVersion.empty()) {
        products.database[{path, u"ProductVersion"}] = c.databaseVersion;
    }
    products.states[u"{PROD}"] = c.state;
    if (!c.installedVersion.empty()) {
        products.info[{u"{PROD}", u"VersionString"}] = c.installedVersion;
    }
    EXPECT_EQ(IsMinorUpgrade(products, path), c.expected) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MinorUpgrade,
    ::testing::Values(
        MinorUpgradeCase{"an older installed copy is upgraded", u"{PROD}", u"1.2.1", 5, u"1.2.0", true},
        MinorUpgradeCase{"the revision part counts", u"{PROD}", u"1.2.0.7", 5, u"1.2.0.6", true},
        MinorUpgradeCase{"the same version is not", u"{PROD}", u"1.2.0", 5, u"1.2", false},
        MinorUpgradeCase{"a newer installed copy is not", u"{PROD}", u"1.2.0", 5, u"1.10.0", false},
        MinorUpgradeCase{"a product in another state is not", u"{PROD}", u"2.0", 1, u"1.0", false},
        MinorUpgradeCase{"an unreadable installed version is not", u"{PROD}", u"2.0", 5, u"", false},
        MinorUpgradeCase{"a database without ProductCode is not", u"", u"2.0", 5, u"1.0", false},
        MinorUpgradeCase{"a database without ProductVersion is not", u"{PROD}", u"", 5, u"1.0", false},
        MinorUpgradeCase{"another product's installation does not count", u"{OTHER}", u"2.0", 5, u"1.0", false}));

}  // namespace
}  // namespace maglorin
