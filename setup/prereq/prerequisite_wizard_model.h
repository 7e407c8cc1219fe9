#pragma once
// What the prerequisites wizard shows and does, without a window: which pages it has and where
// Next and Back lead, one row per listed prerequisite (name, version texts, state, check box),
// whether a check box may change, what the summary lists, and the texts of the result page.
// The dialog (prerequisites_wizard_win32.cpp) only draws this and forwards the user's clicks.
// Portable.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "prerequisite_list.h"

namespace maglorin {

// A string-table text by id ("%s" kept for the caller to fill).
using WizardTextSource = std::function<std::u16string(int id)>;

// The built-in English text of a string-table id; empty for an unknown id.
std::u16string BuiltInWizardText(int id);

// The Options letters that shape the wizard.
struct WizardSettings {
    bool skipIntro = false;    // "h": no welcome page
    bool summaryPage = false;  // "e": the one additional page, a summary of what will be done
    bool onlyPending = false;  // "o": list only the prerequisites whose state is not 0
};
WizardSettings WizardSettingsFromOptions(std::u16string_view options);

enum class WizardPage { Intro, List, Summary, Progress, Result };

// Where the wizard goes next; `Finished` ends it. From the list, nothing to do
// ends the wizard at once (the main installation goes on).
enum class WizardStep { Page, Finished };
struct WizardMove {
    WizardStep step = WizardStep::Page;
    WizardPage page = WizardPage::List;
};

WizardPage FirstWizardPage(const WizardSettings& settings);
// Next from `page`. `anythingToDo`: some prerequisite has a run, download or site with the
// current choice. Next on the progress page is not offered (the work moves on by itself).
WizardMove NextWizardPage(WizardPage page, const WizardSettings& settings, bool anythingToDo);
// Back from `page`; the same page when there is nowhere to go back to.
WizardPage PreviousWizardPage(WizardPage page, const WizardSettings& settings);

struct WizardButtons {
    bool back = false;
    bool next = false;    // shown as Next
    bool finish = false;  // Next shown as Finish
    bool cancel = true;
};
WizardButtons WizardButtonsFor(WizardPage page, const WizardSettings& settings);

// The version text of a row: the required version and what the searches found.
std::u16string RequiredVersionText(const Prerequisite& prerequisite, const WizardTextSource& texts);
std::u16string FoundVersionsText(const Prerequisite& prerequisite, const WizardTextSource& texts);

// How a prerequisite stands after detection (and after a run that failed).
std::u16string PrerequisiteStateText(const Prerequisite& prerequisite, const WizardTextSource& texts);

struct WizardRow {
    std::size_t index = 0;  // into the prerequisite list
    std::u16string name;
    std::u16string version;  // required and found, one text
    std::u16string state;
    bool checked = false;
};
std::vector<WizardRow> WizardRows(const std::vector<Prerequisite>& prerequisites, const WizardSettings& settings,
                                  const WizardTextSource& texts);

// A click on a row's check box.
enum class CheckChange {
    Applied,
    RefusedMandatory,      // a mandatory one that is not present stays checked (text 168)
    RefusedNotApplicable,  // one that does not apply here can not be chosen
};
[[nodiscard]] CheckChange ChangeSelection(Prerequisite& prerequisite, bool checked);

// Back from the result page to the list: what is present now is no longer chosen (a finished
// installer is not run again); every other choice stays as the user left it.
void KeepChoiceAfterRun(std::vector<Prerequisite>& prerequisites);

// The summary page: one line per prerequisite that will be run, downloaded or opened.
// `localFileReady(i)`: prerequisite i's download already sits in its local place.
std::vector<std::u16string> WizardSummaryLines(const std::vector<Prerequisite>& prerequisites,
                                               const std::function<bool(std::size_t)>& localFileReady,
                                               const WizardTextSource& texts);

// What the worker saw while downloading and installing.
struct WizardRunReport {
    bool downloadFailed = false;
    bool installFailed = false;  // an installer could not be found, checked or started
};

// The ids of the result page's texts, in order, from the run and the prerequisites detected
// again (a cancel or a restart ends the wizard without this page): 183 when a download failed;
// 178 when an installer failed; 179 when a chosen one is still missing; 180 when none of that happened. 188 is added whenever a
// mandatory one is still missing, since Finish then does not start the main installation.
std::vector<int> WizardResultTextIds(const WizardRunReport& report, const std::vector<Prerequisite>& prerequisites);

// A chosen prerequisite that should be present after the run and is not (sites are left to the
// user and never count).
bool ChosenStillMissing(const Prerequisite& prerequisite);

// Percent of a download for the progress bar; 0 while the total is unknown.
int DownloadPercent(std::uint64_t received, std::uint64_t total);

}  // namespace maglorin
