#include "prerequisite_wizard_model.h"

#include "message_text.h"
#include "prerequisite_rules.h"
#include "setup_string_ids.h"

namespace maglorin {
namespace {

using namespace prerequisite_status;

bool IsBlankText(std::u16string_view text) {
    for (const char16_t c : text) {
        if (c > u' ') return false;
    }
    return true;
}

std::u16string Text(const WizardTextSource& texts, SetupStringId id) {
    return texts ? texts(static_cast<int>(id)) : BuiltInWizardText(static_cast<int>(id));
}

}  // namespace

std::u16string BuiltInWizardText(int id) {
    for (const SetupStringText& row : kSetupStrings) {
        if (static_cast<int>(row.id) == id) return row.text;
    }
    return {};
}

WizardSettings WizardSettingsFromOptions(std::u16string_view options) {
    const auto has = [options](char16_t letter) { return options.find(letter) != std::u16string_view::npos; };
    return {has(u'h'), has(u'e'), has(u'o')};
}

WizardPage FirstWizardPage(const WizardSettings& settings) {
    return settings.skipIntro ? WizardPage::List : WizardPage::Intro;
}

WizardMove NextWizardPage(WizardPage page, const WizardSettings& settings, bool anythingToDo) {
    switch (page) {
    case WizardPage::Intro:
        return {WizardStep::Page, WizardPage::List};
    case WizardPage::List:
        if (!anythingToDo) return {WizardStep::Finished, page};
        return {WizardStep::Page, settings.summaryPage ? WizardPage::Summary : WizardPage::Progress};
    case WizardPage::Summary:
        return {WizardStep::Page, anythingToDo ? WizardPage::Progress : WizardPage::List};
    case WizardPage::Progress:
        return {WizardStep::Page, WizardPage::Result};
    case WizardPage::Result:
        return {WizardStep::Finished, page};
    }
    return {WizardStep::Finished, page};
}

WizardPage PreviousWizardPage(WizardPage page, const WizardSettings& settings) {
    switch (page) {
    case WizardPage::List:
        return settings.skipIntro ? WizardPage::List : WizardPage::Intro;
    case WizardPage::Summary:
    case WizardPage::Result:
        return WizardPage::List;
    case WizardPage::Intro:
    case WizardPage::Progress:
        return page;
    }
    return page;
}

WizardButtons WizardButtonsFor(WizardPage page, const WizardSettings& settings) {
    WizardButtons buttons;
    switch (page) {
    case WizardPage::Intro:
        buttons.next = true;
        break;
    case WizardPage::List:
        buttons.back = !settings.skipIntro;
        buttons.next = true;
        break;
    case WizardPage::Summary:
        buttons.back = true;
        buttons.next = true;
        break;
    case WizardPage::Progress:
        break;  // only Cancel, which stops after the current step
    case WizardPage::Result:
        buttons.back = true;
        buttons.finish = true;
        break;
    }
    return buttons;
}

std::u16string RequiredVersionText(const Prerequisite& prerequisite, const WizardTextSource& texts) {
    const bool hasMin = !IsBlankText(prerequisite.versionMin);
    const bool hasMax = !IsBlankText(prerequisite.versionMax);
    if (hasMin && hasMax) {
        return FormatText(Text(texts, kStringRequiredBetween), {prerequisite.versionMin, prerequisite.versionMax});
    }
    if (hasMin) return FormatText(Text(texts, kStringRequiredMinimum), {prerequisite.versionMin});
    if (hasMax) return FormatText(Text(texts, kStringRequiredMaximum), {prerequisite.versionMax});
    return Text(texts, kStringRequiredAny);
}

std::u16string FoundVersionsText(const Prerequisite& prerequisite, const WizardTextSource& texts) {
    std::u16string joined;
    for (const std::u16string& found : prerequisite.found) {
        if (IsBlankText(found)) continue;
        if (!joined.empty()) joined += u", ";
        joined += found;
    }
    if (joined.empty()) return Text(texts, kStringFoundNothing);
    return FormatText(Text(texts, kStringFoundVersions), {joined});
}

std::u16string PrerequisiteStateText(const Prerequisite& prerequisite, const WizardTextSource& texts) {
    switch (prerequisite.detectionStatus) {
    case kPresent:
        return Text(texts, kStringStatusInstalled);
    case kNotApplicable:
        return Text(texts, kStringStatusNotNeeded);
    default:
        break;
    }
    if (prerequisite.failed) {
        return Text(texts, prerequisite.downloaded || prerequisite.target != PrerequisiteTarget::Url
                               ? kStringStatusInstallFailed
                               : kStringStatusDownloadFailed);
    }
    // A file:// address names a file that is already here: nothing was downloaded.
    const bool fetched = prerequisite.downloaded && !LocalFileAddress(prerequisite.targetText);
    return Text(texts, fetched ? kStringStatusDownloaded : kStringStatusMissing);
}

std::vector<WizardRow> WizardRows(const std::vector<Prerequisite>& prerequisites, const WizardSettings& settings,
                                  const WizardTextSource& texts) {
    std::vector<WizardRow> rows;
    for (std::size_t i = 0; i < prerequisites.size(); ++i) {
        const Prerequisite& p = prerequisites[i];
        if (settings.onlyPending && p.detectionStatus == kPresent) continue;
        rows.push_back({i, p.name, RequiredVersionText(p, texts) + FoundVersionsText(p, texts),
                        PrerequisiteStateText(p, texts), p.selected});
    }
    return rows;
}

CheckChange ChangeSelection(Prerequisite& prerequisite, bool checked) {
    const bool applies = prerequisite.detectionStatus != kNotApplicable;
    if (checked && !applies) return CheckChange::RefusedNotApplicable;
    if (!checked && applies && !MayBeLeftOut(prerequisite)) return CheckChange::RefusedMandatory;
    prerequisite.selected = checked;
    return CheckChange::Applied;
}

void KeepChoiceAfterRun(std::vector<Prerequisite>& prerequisites) {
    for (Prerequisite& p : prerequisites) {
        if (p.detectionStatus == kPresent) p.selected = false;
    }
}

std::vector<std::u16string> WizardSummaryLines(const std::vector<Prerequisite>& prerequisites,
                                               const std::function<bool(std::size_t)>& localFileReady,
                                               const WizardTextSource& texts) {
    std::vector<std::u16string> lines;
    for (std::size_t i = 0; i < prerequisites.size(); ++i) {
        const Prerequisite& p = prerequisites[i];
        const bool ready = p.target == PrerequisiteTarget::Url && localFileReady && localFileReady(i);
        switch (PrerequisiteAction(p, ready)) {
        case prerequisite_action::kRunFromPayload:
        case prerequisite_action::kRunDownloaded:
            lines.push_back(FormatText(Text(texts, kStringSummaryRun), {p.name}));
            break;
        case prerequisite_action::kDownload:
            lines.push_back(FormatText(Text(texts, kStringSummaryDownload), {p.name}));
            break;
        case prerequisite_action::kOpenSite:
            lines.push_back(FormatText(Text(texts, kStringSummaryOpenSite), {p.name}));
            break;
        default:
            break;
        }
    }
    return lines;
}

bool ChosenStillMissing(const Prerequisite& prerequisite) {
    return prerequisite.selected && prerequisite.detectionStatus != kPresent &&
           prerequisite.detectionStatus != kNotApplicable;
}

std::vector<int> WizardResultTextIds(const WizardRunReport& report, const std::vector<Prerequisite>& prerequisites) {
    std::vector<int> ids;
    bool missing = false;
    for (const Prerequisite& p : prerequisites) missing = missing || ChosenStillMissing(p);
    if (report.downloadFailed) {
        ids.push_back(kStringPrerequisitesNotDownloaded);
    } else if (report.installFailed) {
        ids.push_back(kStringPrerequisitesNotInstalled);
    } else if (missing) {
        ids.push_back(kStringPrerequisitesStillMissing);
    } else {
        ids.push_back(kStringPrerequisitesInstalled);
    }
    if (MandatoryStillMissing(prerequisites)) ids.push_back(kStringMandatoryStillMissing);
    return ids;
}

int DownloadPercent(std::uint64_t received, std::uint64_t total) {
    if (total == 0) return 0;
    if (received >= total) return 100;
    return static_cast<int>(received * 100 / total);
}

}  // namespace maglorin
