#pragma once
// The prerequisites wizard of the full user interface: a welcome page, the list of prerequisites
// with check boxes, an optional summary, the progress of the downloads and installers (run on a
// worker thread) and the result. What each page shows and where the buttons lead is decided by
// prerequisite_wizard_model.h; this file only draws it and runs the work.

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

#include "download_sink.h"
#include "prerequisite_wizard_model.h"

namespace maglorin {

// What the work reports to the progress page; called on the worker thread.
class WizardProgress {
public:
    virtual ~WizardProgress() = default;
    // "Downloading %s" (199) or "Installing %s" (153) with the prerequisite's name.
    virtual void ShowStep(int textId, const std::u16string& name) = 0;
    // The user asked to stop; the work stops before its next step.
    [[nodiscard]] virtual bool CancelRequested() = 0;
    // Progress of the download in hand; the downloader calls it.
    virtual DownloadSink& Sink() = 0;
    // Parent of the dialogs the work shows (credentials, the restart question).
    virtual HWND Owner() = 0;
};

// The prerequisites as the phase holds them, and the work the wizard starts.
class PrerequisiteWizardHost {
public:
    virtual ~PrerequisiteWizardHost() = default;
    virtual std::vector<Prerequisite>& List() = 0;
    // Whether prerequisite `index`'s download already sits in its local place.
    virtual bool LocalFileReady(std::size_t index) = 0;
    // Downloads, opens sites and runs the installers of the current choice, then detects the
    // chosen ones again. Runs on the wizard's worker thread; the list is not touched by the
    // dialog meanwhile.
    virtual WizardRunReport Execute(WizardProgress& progress) = 0;
    // A restart was requested by the last Execute (the wizard ends at once).
    virtual bool RestartRequested() = 0;
    // The last Execute stopped at the user's request.
    virtual bool Cancelled() = 0;
};

// Values are the dialog's result codes; none is 0 or -1 (a dialog that could not be made).
enum class WizardEnd {
    Finished = 1,   // Finish pressed, or nothing was left to do
    Cancelled = 2,  // Cancel on any page
    Restart = 3,    // an installer asked for a restart and it was requested
};

struct WizardRequest {
    std::u16string productName;
    WizardSettings settings;
    WizardTextSource texts;  // the chosen language's string table
};

// Modal; returns when the wizard ends.
WizardEnd ShowPrerequisitesWizard(const WizardRequest& request, PrerequisiteWizardHost& host);

}  // namespace maglorin
