#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "prerequisite_rules.h"
#include "prerequisite_wizard_model.h"
#include "setup_string_ids.h"

namespace maglorin {
namespace {

using namespace prerequisite_status;

std::string Narrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

Prerequisite Item(const char16_t* name, int status, PrerequisiteTarget target = PrerequisiteTarget::SetupFile,
                  const char16_t* options = u"") {
    Prerequisite p;
    p.name = name;
    p.detectionStatus = status;
    p.target = target;
    p.options = options;
    p.selected = ChosenByDefault(p);
    return p;
}

// The pages a user meets pressing Next all the way, from the first page to the end.
std::vector<WizardPage> WalkNext(const WizardSettings& settings, bool anythingToDo) {
    std::vector<WizardPage> pages{FirstWizardPage(settings)};
    for (int guard = 0; guard < 10; ++guard) {
        const WizardMove move = NextWizardPage(pages.back(), settings, anythingToDo);
        if (move.step == WizardStep::Finished) return pages;
        pages.push_back(move.page);
    }
    ADD_FAILURE() << "Next never finishes";
    return pages;
}

TEST(PrerequisiteWizardModelTest, OptionLettersShapeThePages) {
    using P = WizardPage;
    struct Case {
        const char16_t* options;
        bool anythingToDo;
        std::vector<WizardPage> pages;
    };
    const Case cases[] = {
        {u"", true, {P::Intro, P::List, P::Progress, P::Result}},
        {u"h", true, {P::List, P::Progress, P::Result}},
        {u"e", true, {P::Intro, P::List, P::Summary, P::Progress, P::Result}},
        {u"qbhe", true, {P::List, P::Summary, P::Progress, P::Result}},
        // Everything left out on the list: the wizard ends there and the main installation goes on.
        {u"", false, {P::Intro, P::List}},
        {u"he", false, {P::List}},
        // Letters are case-sensitive: "H" and "E" change nothing.
        {u"HE", true, {P::Intro, P::List, P::Progress, P::Result}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Narrow(c.options));
        EXPECT_EQ(WalkNext(WizardSettingsFromOptions(c.options), c.anythingToDo), c.pages);
    }
    EXPECT_TRUE(WizardSettingsFromOptions(u"o").onlyPending);
    EXPECT_FALSE(WizardSettingsFromOptions(u"O").onlyPending);
}

TEST(PrerequisiteWizardModelTest, BackLeadsToTheListAndNeverToTheSkippedIntro) {
    const WizardSettings plain{};
    const WizardSettings noIntro = WizardSettingsFromOptions(u"he");
    EXPECT_EQ(PreviousWizardPage(WizardPage::Result, plain), WizardPage::List);
    EXPECT_EQ(PreviousWizardPage(WizardPage::Summary, noIntro), WizardPage::List);
    EXPECT_EQ(PreviousWizardPage(WizardPage::List, plain), WizardPage::Intro);
    EXPECT_EQ(PreviousWizardPage(WizardPage::List, noIntro), WizardPage::List);
    EXPECT_FALSE(WizardButtonsFor(WizardPage::List, noIntro).back);
    EXPECT_TRUE(WizardButtonsFor(WizardPage::List, plain).back);
    // The running work offers only Cancel; the result page offers Back and Finish, not Next.
    const WizardButtons progress = WizardButtonsFor(WizardPage::Progress, plain);
    EXPECT_FALSE(progress.back || progress.next || progress.finish);
    EXPECT_TRUE(progress.cancel);
    const WizardButtons result = WizardButtonsFor(WizardPage::Result, plain);
    EXPECT_TRUE(result.back && result.finish);
    EXPECT_FALSE(result.next);
    // A summary whose choices were all undone in the meantime sends the user back to the list.
    EXPECT_EQ(NextWizardPage(WizardPage::Summary, noIntro, false).page, WizardPage::List);
}

TEST(PrerequisiteWizardModelTest, VersionTextsOfARow) {
    struct Case {
        const char16_t* min;
        const char16_t* max;
        std::vector<std::u16string> found;
        const char16_t* text;
    };
    const Case cases[] = {
        {u"", u"", {}, u"Required: any. Found: nothing."},
        {u"2.0", u"", {u"1.5"}, u"Required: 2.0 or higher. Found: 1.5."},
        {u"", u"3.1", {u"3.0", u"2.9"}, u"Required: 3.1 or lower. Found: 3.0, 2.9."},
        {u"1.0", u"2.0", {u"", u"1.2"}, u"Required: between 1.0 and 2.0. Found: 1.2."},
        // A blank bound is no bound; texts found blank are nothing found.
        {u"  ", u"4", {u" "}, u"Required: 4 or lower. Found: nothing."},
        // "%s" inside a found text is shown as it stands, never filled again.
        {u"", u"", {u"%s"}, u"Required: any. Found: %s."},
    };
    for (const Case& c : cases) {
        Prerequisite p = Item(u"Runtime", kMissingPayload);
        p.versionMin = c.min;
        p.versionMax = c.max;
        p.found = c.found;
        EXPECT_EQ(Narrow(RequiredVersionText(p, nullptr) + FoundVersionsText(p, nullptr)), Narrow(c.text));
    }
}

TEST(PrerequisiteWizardModelTest, RowsFollowTheListAndTheOnlyPendingLetter) {
    std::vector<Prerequisite> list = {Item(u"Present", kPresent), Item(u"Payload", kMissingPayload),
                                      Item(u"Elsewhere", kNotApplicable),
                                      Item(u"Web", kMissingDownload, PrerequisiteTarget::Url)};
    list[3].downloaded = true;
    const std::vector<WizardRow> all = WizardRows(list, WizardSettings{}, nullptr);
    ASSERT_EQ(all.size(), 4u);
    const std::vector<std::pair<const char*, bool>> expected = {
        {"Installed", false}, {"Not installed", true}, {"Not needed on this system", false},
        {"Not installed (downloaded)", true}};
    for (std::size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].index, i);
        EXPECT_EQ(all[i].name, list[i].name);
        EXPECT_EQ(Narrow(all[i].state), expected[i].first);
        EXPECT_EQ(all[i].checked, expected[i].second);
    }
    // "o": every state but 0 stays, each row still pointing at its own prerequisite.
    const std::vector<WizardRow> pending = WizardRows(list, WizardSettingsFromOptions(u"o"), nullptr);
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_EQ(pending[0].index, 1u);
    EXPECT_EQ(pending[1].index, 2u);
    EXPECT_EQ(pending[2].index, 3u);
}

TEST(PrerequisiteWizardModelTest, AFailedRunSaysWhichStepFailed) {
    Prerequisite download = Item(u"Web", kMissingDownload, PrerequisiteTarget::Url);
    download.failed = true;
    EXPECT_EQ(Narrow(PrerequisiteStateText(download, nullptr)), "Download failed");
    download.downloaded = true;  // downloaded, then its installer failed
    EXPECT_EQ(Narrow(PrerequisiteStateText(download, nullptr)), "Installation failed");
    Prerequisite payload = Item(u"Local", kMissingPayload);
    payload.failed = true;
    EXPECT_EQ(Narrow(PrerequisiteStateText(payload, nullptr)), "Installation failed");
    // A file:// address is a file already here, never "downloaded".
    Prerequisite local = Item(u"Local file", kMissingDownload, PrerequisiteTarget::Url);
    local.targetText = u"file://C:\\kit\\setup.exe";
    local.downloaded = true;
    EXPECT_EQ(Narrow(PrerequisiteStateText(local, nullptr)), "Not installed");
    local.targetText = u"http://127.0.0.1/setup.exe";
    EXPECT_EQ(Narrow(PrerequisiteStateText(local, nullptr)), "Not installed (downloaded)");
    // Present after all (detected again): the failure is history.
    payload.detectionStatus = kPresent;
    EXPECT_EQ(Narrow(PrerequisiteStateText(payload, nullptr)), "Installed");
}

TEST(PrerequisiteWizardModelTest, RowTextsComeFromTheGivenLanguage) {
    const WizardTextSource german = [](int id) -> std::u16string {
        switch (id) {
        case kStringRequiredMinimum: return u"Erforderlich: %s oder höher.";
        case kStringFoundNothing: return u" Gefunden: nichts.";
        case kStringStatusMissing: return u"Nicht installiert";
        default: return u"?";
        }
    };
    Prerequisite p = Item(u"Laufzeit", kMissingPayload);
    p.versionMin = u"2.0";
    const std::vector<WizardRow> rows = WizardRows({p}, WizardSettings{}, german);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].version, u"Erforderlich: 2.0 oder höher. Gefunden: nichts.");
    EXPECT_EQ(rows[0].state, u"Nicht installiert");
}

TEST(PrerequisiteWizardModelTest, CheckBoxChangesAndRefusals) {
    struct Case {
        const char* what;
        int status;
        const char16_t* options;
        bool checked;
        CheckChange change;
        bool selectedAfter;
    };
    const Case cases[] = {
        {"optional missing one left out", kMissingPayload, u"", false, CheckChange::Applied, false},
        {"mandatory missing one left out", kMissingDownload, u"m", false, CheckChange::RefusedMandatory, true},
        {"mandatory present one left out", kPresent, u"m", false, CheckChange::Applied, false},
        {"present one chosen again", kPresent, u"", true, CheckChange::Applied, true},
        {"one not for this system chosen", kNotApplicable, u"", true, CheckChange::RefusedNotApplicable, false},
        {"mandatory one not for this system left out", kNotApplicable, u"m", false, CheckChange::Applied, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Prerequisite p = Item(u"X", c.status, PrerequisiteTarget::SetupFile, c.options);
        p.selected = !c.checked;
        EXPECT_EQ(ChangeSelection(p, c.checked), c.change);
        EXPECT_EQ(p.selected, c.selectedAfter);
    }
}

TEST(PrerequisiteWizardModelTest, BackAfterARunDropsOnlyWhatIsNowPresent) {
    std::vector<Prerequisite> list = {Item(u"Installed now", kMissingPayload), Item(u"Failed", kMissingPayload),
                                      Item(u"Left out", kMissingPayload)};
    list[0].detectionStatus = kPresent;
    list[2].selected = false;
    KeepChoiceAfterRun(list);
    EXPECT_FALSE(list[0].selected);
    EXPECT_TRUE(list[1].selected);
    EXPECT_FALSE(list[2].selected);
    // Next again runs only the one that failed.
    EXPECT_EQ(WizardSummaryLines(list, nullptr, nullptr), std::vector<std::u16string>{u"Install Failed"});
}

TEST(PrerequisiteWizardModelTest, SummaryListsWhatWillBeDone) {
    std::vector<Prerequisite> list = {Item(u"Present", kPresent), Item(u"Local", kMissingPayload),
                                      Item(u"Web", kMissingDownload, PrerequisiteTarget::Url),
                                      Item(u"Cached", kMissingDownload, PrerequisiteTarget::Url),
                                      Item(u"Site", kMissingSite, PrerequisiteTarget::OpenSite),
                                      Item(u"Skipped", kMissingPayload)};
    list[5].selected = false;
    const auto cached = [](std::size_t i) { return i == 3; };
    const std::vector<std::u16string> lines = WizardSummaryLines(list, cached, nullptr);
    const std::vector<std::u16string> expected = {u"Install Local", u"Download and install Web",
                                                  u"Download and install Cached", u"Open the web site of Site"};
    EXPECT_EQ(lines, expected);
    // A present Url prerequisite chosen again is downloaded again, unless its file already sits
    // in place: then it is only run.
    Prerequisite again = Item(u"Again", kPresent, PrerequisiteTarget::Url);
    again.selected = true;
    const std::vector<std::u16string> twice = WizardSummaryLines({again, again, again, again}, cached, nullptr);
    ASSERT_EQ(twice.size(), 4u);
    EXPECT_EQ(twice[0], u"Download and install Again");
    EXPECT_EQ(twice[3], u"Install Again");
}

TEST(PrerequisiteWizardModelTest, ResultPageTexts) {
    const Prerequisite present = Item(u"A", kPresent);
    Prerequisite missing = Item(u"B", kMissingPayload);
    Prerequisite mandatoryMissing = Item(u"C", kMissingDownload, PrerequisiteTarget::Url, u"m");
    Prerequisite leftOut = Item(u"D", kMissingPayload);
    leftOut.selected = false;
    const Prerequisite elsewhere = Item(u"E", kNotApplicable, PrerequisiteTarget::SetupFile, u"m");
    struct Case {
        const char* what;
        WizardRunReport report;
        std::vector<Prerequisite> list;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"all present", {}, {present, leftOut, elsewhere}, {180}},
        {"a chosen one still missing", {}, {present, missing}, {179}},
        {"a download failed", {true, false}, {missing}, {183}},
        {"an installer failed", {false, true}, {missing}, {178}},
        {"download failure named before the installer's", {true, true}, {missing}, {183}},
        {"a mandatory one still missing", {}, {mandatoryMissing}, {179, 188}},
        {"mandatory missing after a failed download", {true, false}, {mandatoryMissing}, {183, 188}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(WizardResultTextIds(c.report, c.list), c.ids);
    }
}

TEST(PrerequisiteWizardModelTest, DownloadPercent) {
    EXPECT_EQ(DownloadPercent(500, 0), 0);  // total unknown
    EXPECT_EQ(DownloadPercent(0, 1000), 0);
    EXPECT_EQ(DownloadPercent(999, 1000), 99);
    EXPECT_EQ(DownloadPercent(1500, 1000), 100);  // a server that sends more than it said
    EXPECT_EQ(DownloadPercent(0xFFFFFFFFull, 0xFFFFFFFFull * 2), 50);  // beyond 32 bits
}

}  // namespace
}  // namespace maglorin
