#include "instance_choice.h"

#include <gtest/gtest.h>

#include "fake_installed_products.h"

namespace maglorin {
namespace {

using test_support::FakeInstalledProducts;

struct WordCase {
    const char* behaviour;
    std::u16string text;
    std::u16string word;
    bool contained;
};

class WholeWord : public ::testing::TestWithParam<WordCase> {};

TEST_P(WholeWord, MatchesOnlyBlankSeparatedWords) {
    EXPECT_EQ(ContainsWord(GetParam().text, GetParam().word), GetParam().contained) << GetParam().behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WholeWord,
    ::testing::Values(WordCase{"alone", u"/i", u"/i", true},
                      WordCase{"between blanks", u"/qn /i ALLUSERS=1", u"/i", true},
                      WordCase{"at the end after a tab", u"/qn\t/i", u"/i", true},
                      WordCase{"inside a property value", u"INSTALLDIR=D:/images", u"/i", false},
                      WordCase{"as the start of a longer switch", u"/norestart", u"/n", false},
                      WordCase{"glued to the end of a word", u"x/n", u"/n", false},
                      WordCase{"a later whole word after a glued one", u"D:/images /i", u"/i", true},
                      WordCase{"case matters", u"/I", u"/i", false},
                      WordCase{"empty text", u"", u"/i", false}));

TEST(WholeWord, RemovingTakesEveryWholeWordAndNothingElse) {
    std::u16string text = u"/i INSTALLDIR=D:/images /i /qn /i";
    EXPECT_TRUE(RemoveWord(text, u"/i"));
    EXPECT_EQ(text, u" INSTALLDIR=D:/images  /qn ");
    EXPECT_FALSE(RemoveWord(text, u"/i"));
    EXPECT_EQ(text, u" INSTALLDIR=D:/images  /qn ");
}

struct ScanCase {
    const char* behaviour;
    std::u16string options;
    std::u16string remaining;
    bool decide;
    InstanceMode mode;
};

class InstanceOptions : public ::testing::TestWithParam<ScanCase> {};

TEST_P(InstanceOptions, DecideTheInstanceThemselves) {
    const ScanCase& c = GetParam();
    std::u16string options = c.options;
    InstanceSelection selection;
    ScanInstanceOptions(options, selection);
    EXPECT_EQ(options, c.remaining) << c.behaviour;
    EXPECT_EQ(selection.optionsDecide, c.decide) << c.behaviour;
    EXPECT_EQ(selection.mode, c.mode) << c.behaviour;
    EXPECT_EQ(selection.installSwitchRemoved, c.mode == InstanceMode::Maintain) << c.behaviour;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstanceOptions,
    ::testing::Values(
        ScanCase{"plain options decide nothing", u"/qn ALLUSERS=1", u"/qn ALLUSERS=1", false, InstanceMode::NewInstance},
        ScanCase{"/i maintains and is removed", u"/i /qn", u" /qn", true, InstanceMode::Maintain},
        ScanCase{"/n decides and stays", u"/n {P} /qb", u"/n {P} /qb", true, InstanceMode::NewInstance},
        ScanCase{"MSINEWINSTANCE=1 decides", u"MSINEWINSTANCE=1 TRANSFORMS=:a.mst", u"MSINEWINSTANCE=1 TRANSFORMS=:a.mst",
                 true, InstanceMode::NewInstance},
        ScanCase{"a folder with /i in it keeps its letters", u"INSTALLDIR=D:/images", u"INSTALLDIR=D:/images", false,
                 InstanceMode::NewInstance},
        ScanCase{"/norestart is not /n", u"/norestart /qn", u"/norestart /qn", false, InstanceMode::NewInstance}));

InstanceRecord Instance(std::u16string transform, std::u16string productCode, VersionNumber version) {
    InstanceRecord record;
    record.transformName = std::move(transform);
    record.productCode = std::move(productCode);
    record.version = version;
    return record;
}

// Base 2.0 with two numbered instances.
InstanceSelection ThreeInstances() {
    InstanceSelection selection;
    selection.instances = {
        Instance(u"", u"{BASE}", VersionNumber(2, 0, 0, 0)),
        Instance(u"first", u"{ONE}", VersionNumber()),
        Instance(u"second", u"{TWO}", VersionNumber()),
    };
    return selection;
}

TEST(InstalledInstances, NothingInstalledLeavesEveryFlagClear) {
    FakeInstalledProducts products;
    InstanceSelection selection = ThreeInstances();
    FillInstalledInstances(products, selection);
    EXPECT_FALSE(selection.someInstalled);
    EXPECT_FALSE(selection.olderUpgradable);
    for (const InstanceRecord& record : selection.instances) {
        EXPECT_FALSE(record.installed);
    }
}

TEST(InstalledInstances, InstalledOnesTakeNameLocationAndVersion) {
    FakeInstalledProducts products;
    products.Install(u"{ONE}", u"Kit One", u"1.5", u"D:\\Kit1\\");
    products.Install(u"{BASE}", u"Kit", u"1.0");
    InstanceSelection selection = ThreeInstances();
    FillInstalledInstances(products, selection);
    EXPECT_TRUE(selection.someInstalled);
    EXPECT_EQ(selection.instances[1].installedProductName, u"Kit One");
    EXPECT_EQ(selection.instances[1].installedLocation, u"D:\\Kit1\\");
    EXPECT_EQ(selection.instances[1].version, VersionNumber(1, 5, 0, 0));
    EXPECT_TRUE(selection.instances[1].olderInstalled);
    // The base keeps the package's version: it is what the others are compared with.
    EXPECT_EQ(selection.instances[0].version, VersionNumber(2, 0, 0, 0));
    EXPECT_FALSE(selection.instances[0].olderInstalled);
    // The base is installed, so there is nothing to upgrade "all" to.
    EXPECT_FALSE(selection.olderUpgradable);
    EXPECT_FALSE(selection.instances[2].installed);
}

TEST(InstalledInstances, OlderInstancesWithoutTheBaseCanAllBeUpgraded) {
    FakeInstalledProducts products;
    products.Install(u"{TWO}", u"Kit Two", u"1.9.9");
    InstanceSelection selection = ThreeInstances();
    FillInstalledInstances(products, selection);
    EXPECT_TRUE(selection.instances[2].olderInstalled);
    EXPECT_TRUE(selection.olderUpgradable);
    const InstanceDialogModel model = MakeInstanceDialogModel(selection);
    EXPECT_EQ(model.newInstanceCaption, u"Upgrade all installed instances.");
    EXPECT_TRUE(model.newInstanceAvailable);
    EXPECT_EQ(model.rows, std::vector<std::size_t>{2});
}

TEST(InstalledInstances, SameOrNewerVersionIsNotOlder) {
    FakeInstalledProducts products;
    products.Install(u"{ONE}", u"Kit One", u"2.0");
    products.Install(u"{TWO}", u"Kit Two", u"2.1");
    InstanceSelection selection = ThreeInstances();
    FillInstalledInstances(products, selection);
    EXPECT_FALSE(selection.instances[1].olderInstalled);
    EXPECT_FALSE(selection.instances[2].olderInstalled);
    EXPECT_FALSE(selection.olderUpgradable);
    EXPECT_EQ(MakeInstanceDialogModel(selection).newInstanceCaption, u"Install new instance.");
}

TEST(InstanceDialog, EveryInstanceInstalledPreselectsMaintenance) {
    InstanceSelection selection = ThreeInstances();
    for (InstanceRecord& record : selection.instances) {
        record.installed = true;
    }
    const InstanceDialogModel model = MakeInstanceDialogModel(selection);
    EXPECT_FALSE(model.newInstanceAvailable);
    EXPECT_FALSE(model.newInstancePreselected);
    EXPECT_EQ(model.rows, (std::vector<std::size_t>{0, 1, 2}));
}

TEST(InstanceDialog, MaintainNeedsAnInstalledRow) {
    InstanceSelection selection = ThreeInstances();
    selection.instances[1].installed = true;
    EXPECT_FALSE(ApplyInstanceChoice({InstanceMode::Maintain, std::nullopt}, selection));
    EXPECT_FALSE(ApplyInstanceChoice({InstanceMode::Maintain, 2}, selection));
    EXPECT_FALSE(ApplyInstanceChoice({InstanceMode::Maintain, 7}, selection));
    EXPECT_FALSE(ApplyInstanceChoice({InstanceMode::Upgrade, 1}, selection));
    EXPECT_EQ(selection.mode, InstanceMode::NewInstance);
    ASSERT_TRUE(ApplyInstanceChoice({InstanceMode::Maintain, 1}, selection));
    EXPECT_EQ(selection.mode, InstanceMode::Maintain);
    EXPECT_EQ(selection.selected, 1u);
    ASSERT_TRUE(ApplyInstanceChoice({InstanceMode::NewInstance, 1}, selection));
    EXPECT_EQ(selection.mode, InstanceMode::NewInstance);
    EXPECT_FALSE(selection.selected);
}

struct FragmentCase {
    const char* behaviour;
    std::vector<bool> installed;  // per instance
    std::vector<bool> older;
    InstanceMode mode;
    std::optional<std::size_t> selected;
    bool optionsDecide;
    std::u16string text;
    InstanceMode resultMode;
};

class InstanceFragmentText : public ::testing::TestWithParam<FragmentCase> {};

TEST_P(InstanceFragmentText, FollowsModeAndSelection) {
    const FragmentCase& c = GetParam();
    InstanceSelection selection = ThreeInstances();
    for (std::size_t i = 0; i < selection.instances.size(); ++i) {
        selection.instances[i].installed = c.installed[i];
        selection.instances[i].olderInstalled = c.older[i];
    }
    selection.mode = c.mode;
    selection.selected = c.selected;
    selection.optionsDecide = c.optionsDecide;
    const InstanceFragment fragment = BuildInstanceFragment(selection);
    EXPECT_EQ(fragment.text, c.text) << c.behaviour;
    EXPECT_EQ(fragment.mode, c.resultMode) << c.behaviour;
}

constexpr auto kNew = InstanceMode::NewInstance;
constexpr auto kMaintain = InstanceMode::Maintain;
constexpr auto kUpgrade = InstanceMode::Upgrade;

INSTANTIATE_TEST_SUITE_P(
    Cases, InstanceFragmentText,
    ::testing::Values(
        FragmentCase{"new with the base free installs the base", {false, false, false}, {false, false, false}, kNew,
                     std::nullopt, false, u"", kNew},
        FragmentCase{"new takes the first free numbered instance", {true, false, false}, {false, false, false}, kNew,
                     std::nullopt, false, u" TRANSFORMS=:first.mst MSINEWINSTANCE=1 ", kNew},
        FragmentCase{"new skips installed instances", {true, true, false}, {false, false, false}, kNew, std::nullopt,
                     false, u" TRANSFORMS=:second.mst MSINEWINSTANCE=1 ", kNew},
        FragmentCase{"new with every instance installed adds nothing", {true, true, true}, {false, false, false}, kNew,
                     std::nullopt, false, u"", kNew},
        FragmentCase{"maintain a numbered instance names it", {true, true, false}, {false, false, false}, kMaintain, 1,
                     false, u" /n {ONE} ", kMaintain},
        FragmentCase{"maintain the base adds nothing", {true, true, false}, {false, false, false}, kMaintain, 0, false,
                     u"", kMaintain},
        FragmentCase{"maintain an older instance upgrades it", {false, true, true}, {false, false, true}, kMaintain, 2,
                     false, u" /n {TWO}  REINSTALL=ALL REINSTALLMODE=vomus ", kUpgrade},
        FragmentCase{"options that decide get nothing", {true, false, false}, {false, false, false}, kNew,
                     std::nullopt, true, u"", kNew}));

TEST(InstanceFragmentText, NoInstancesNoFragment) {
    InstanceSelection selection;
    EXPECT_EQ(BuildInstanceFragment(selection).text, u"");
}

}  // namespace
}  // namespace maglorin
