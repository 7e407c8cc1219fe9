// The prerequisites phase: load, detect, choose the missing ones, download and check, open sites,
// run the installers, detect again, and decide the exit code.
#include "prerequisites_phase_win32.h"

#include <windows.h>

#include <string>

#include "credential_dialog_win32.h"
#include "installer_service_prerequisite.h"
#include "launch_conditions_win32.h"
#include "payload_extractor.h"
#include "prerequisite_work_win32.h"
#include "prerequisites_wizard_win32.h"
#include "setup_string_ids.h"
#include "windows_bitness_win32.h"

namespace maglorin {
namespace {

using namespace prerequisite_action;

std::u16string Utf16Number(std::uint32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

bool NamesInstallerService(const Prerequisite& p) {
    constexpr std::u16string_view kFile = u"[systemfolder]msi.dll";
    if (p.searches.empty() || p.searches.front().searchString.size() != kFile.size()) return false;
    for (std::size_t i = 0; i < kFile.size(); ++i) {
        char16_t c = p.searches.front().searchString[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != kFile[i]) return false;
    }
    return true;
}

// Runs the prerequisites, either at once (every missing one chosen) or under the wizard, which
// calls back into Execute on its worker thread as often as the user tries again.
class Phase final : public PrerequisiteWizardHost {
public:
    Phase(const PrerequisitesRequest& request, SetupLog& log)
        : request_(request), log_(log), machine_(request.packageFolder, log), quiet_(!request.userInterfaceEnabled),
          prompt_(request.textOf) {}

    PrerequisitesOutcome Run();

    std::vector<Prerequisite>& List() override { return list_; }
    bool LocalFileReady(std::size_t index) override {
        const Prerequisite& p = list_.at(index);
        return p.target == PrerequisiteTarget::Url && maglorin::LocalFileReady(p, LocalPlace(p));
    }
    WizardRunReport Execute(WizardProgress& progress) override;
    bool RestartRequested() override { return end_.restartStarted; }
    bool Cancelled() override { return cancelled_; }

private:
    std::u16string LocalPlace(const Prerequisite& p) const;
    int Action(const Prerequisite& p) const { return PrerequisiteAction(p, p.target == PrerequisiteTarget::Url && maglorin::LocalFileReady(p, LocalPlace(p))); }
    // Shows the step and answers whether the user cancelled before it.
    bool CancelledBefore(SetupStringId id, const Prerequisite& p) {
        if (progress_ != nullptr) {
            progress_->ShowStep(static_cast<int>(id), p.name);
            cancelled_ = cancelled_ || progress_->CancelRequested();
            return cancelled_;
        }
        if (request_.showProgress) request_.showProgress(static_cast<int>(id), p.name);
        cancelled_ = cancelled_ || (request_.cancelRequested && request_.cancelRequested());
        return cancelled_;
    }
    // Downloads, sites, installers and the detection afterwards, for the current choice.
    void Work();
    void Acquire();
    void OpenSites();
    void Install();
    // The file to run for an action-1 or action-5 item; empty when there is none.
    std::u16string RunFile(const Prerequisite& p, bool& extracted);
    void RunOne(Prerequisite& p);
    void RestartAfter(Prerequisite& p);
    std::u16string Text(SetupStringId id, const char16_t* fallback) const {
        return request_.textOf ? request_.textOf(static_cast<int>(id)) : std::u16string(fallback);
    }
    HWND Owner() const { return progress_ != nullptr ? progress_->Owner() : nullptr; }

    const PrerequisitesRequest& request_;
    SetupLog& log_;
    PrerequisiteMachine machine_;
    bool quiet_;
    CredentialDialogPrompt prompt_;
    std::vector<Prerequisite> list_;
    PrerequisitesOutcome outcome_;
    PrerequisitesEnd end_;
    bool cancelled_ = false;
    bool downloadFailed_ = false;
    bool installFailed_ = false;
    WizardProgress* progress_ = nullptr;  // the wizard's progress page while it runs Execute
};

std::u16string Phase::LocalPlace(const Prerequisite& p) const {
    const std::u16string address = machine_.Resolve(p.targetText);
    if (std::optional<std::u16string> local = LocalFileAddress(address)) return *local;
    std::u16string folder = machine_.Resolve(request_.downloadFolder);
    if (folder.empty()) {
        wchar_t temporary[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH, temporary);
        folder.assign(temporary, temporary + (length <= MAX_PATH ? length : 0));
    }
    return DownloadLocalPlace(folder, p.folder, address);
}

void Phase::Acquire() {
    for (Prerequisite& p : list_) {
        if (Action(p) != kDownload) continue;
        if (CancelledBefore(kStringDownloading, p)) return;
        const std::u16string address = machine_.Resolve(p.targetText);
        const std::u16string place = LocalPlace(p);
        log_.Write(u"Downloading " + p.name + u" to " + place);
        DownloadResult result = kDownloadNoFileName;
        if (LocalFileAddress(address)) {
            result = maglorin::LocalFileReady(p, place) ? kDownloadSuccess : kDownloadNotFound;
        } else if (!place.empty()) {
            DownloadRequest download{address, place, quiet_, request_.proxyUserName, request_.proxyPassword};
            download.sink = progress_ != nullptr ? &progress_->Sink() : nullptr;
            download.prompt = &prompt_;
            download.owner = Owner();
            result = DownloadPrerequisite(download);
        }
        if (result == kDownloadCancelled) {
            // The user stopped the download itself: the whole run stops, as before any item.
            log_.Write(u"prerequisite " + p.name + u": download cancelled");
            cancelled_ = true;
            return;
        }
        if (result != kDownloadSuccess) {
            log_.Write(u"prerequisite " + p.name + u": download failed, code " + Utf16Number(result));
            p.failed = downloadFailed_ = true;
            continue;
        }
        // A file from a file:// address is the user's own: refused, never deleted.
        if (!CheckBeforeRun(p, place, !LocalFileAddress(address), log_)) {
            p.failed = downloadFailed_ = true;
            return;  // the acquisition ends here
        }
        p.downloaded = true;
    }
}

void Phase::OpenSites() {
    for (const Prerequisite& p : list_) {
        if (Action(p) == kOpenSite && !OpenSiteShortcut(machine_.Resolve(p.targetText), log_)) {
            log_.Write(u"prerequisite " + p.name + u": the site could not be opened");
        }
    }
}

std::u16string Phase::RunFile(const Prerequisite& p, bool& extracted) {
    extracted = false;
    if (Action(p) == kRunDownloaded) return LocalPlace(p);
    if (request_.extractor == nullptr) return {};
    const PathText name(p.targetText.begin(), p.targetText.end());
    const std::optional<PayloadExtractor::PrerequisiteFile> file = request_.extractor->FindPrerequisiteFile(name);
    if (!file) return {};
    if (file->group) {
        if (request_.extractor->ExtractGroups({*file->group}, nullptr) != 0) return {};
        extracted = true;
    }
    return std::u16string(file->path.begin(), file->path.end());
}

void Phase::RunOne(Prerequisite& p) {
    bool extracted = false;
    const std::u16string file = RunFile(p, extracted);
    const bool downloaded = Action(p) == kRunDownloaded;
    if (file.empty() || !CheckBeforeRun(p, file, extracted || (downloaded && !LocalFileAddress(machine_.Resolve(p.targetText))), log_)) {
        log_.Write(u"prerequisite " + p.name + u": nothing that may be run");
        p.failed = installFailed_ = true;
        return;
    }
    log_.Write(u"Installing " + p.name);
    const std::optional<std::uint32_t> code = machine_.Programs().RunAndWait(file, machine_.Resolve(p.commandLine), false);
    if (!code) {
        log_.Write(u"prerequisite " + p.name + u": the installer could not be started, system error " + Utf16Number(GetLastError()));
        p.failed = installFailed_ = true;
        return;
    }
    log_.Write(u"prerequisite " + p.name + u": exit code " + Utf16Number(*code));
    if (!p.resultProperty.empty()) outcome_.resultProperties.push_back({p.resultProperty, static_cast<std::int32_t>(*code)});
    if (PausesAfterExitCode(*code)) Sleep(request_.pauseAfterFailureMs);
    if (p.RestartAfter()) RestartAfter(p);
}

void Phase::RestartAfter(Prerequisite& p) {
    // Restart only for an installer that did its work: one that failed would otherwise restart
    // the machine again at every resumed run.
    machine_.Detect(p);
    if (p.detectionStatus != prerequisite_status::kPresent) {
        log_.Write(u"prerequisite " + p.name + u": still missing after its run, no restart");
        return;
    }
    if (request_.registerResume) request_.registerResume();
    const bool declined = request_.askAndRestart
                              ? request_.askAndRestart(quiet_)
                              : AskAndRestartSystem(quiet_, Text(kStringRebootQuestion, u"You must reboot your computer in order to continue the installation. Press Yes to restart now or press No to abort the installation and manually restart later."),
                                                    Text(kStringConfirmation, u"Confirmation"), Owner());
    log_.Write(declined ? u"prerequisites: restart declined" : u"prerequisites: restart requested");
    end_.restartStarted = true;
}

void Phase::Install() {
    for (Prerequisite& p : list_) {
        const int action = Action(p);
        if (action != kRunFromPayload && action != kRunDownloaded) continue;
        if (CancelledBefore(kStringInstallingPrerequisite, p)) return;
        RunOne(p);
        if (end_.restartStarted) return;
    }
}

void Phase::Work() {
    Acquire();
    OpenSites();
    if (!cancelled_) Install();
    for (Prerequisite& p : list_) {
        if (p.selected && !end_.restartStarted) machine_.Detect(p);
    }
}

WizardRunReport Phase::Execute(WizardProgress& progress) {
    progress_ = &progress;
    cancelled_ = downloadFailed_ = installFailed_ = false;
    end_ = PrerequisitesEnd{};
    for (Prerequisite& p : list_) p.failed = false;
    Work();
    progress_ = nullptr;
    return {downloadFailed_, installFailed_};
}

PrerequisitesOutcome Phase::Run() {
    list_ = LoadPrerequisites(*request_.configuration);
    if (list_.empty()) return {};
    for (Prerequisite& p : list_) {
        machine_.Detect(p);
        // Every missing one is chosen; the wizard lets the user change that.
        p.selected = ChosenByDefault(p);
        if (p.target == PrerequisiteTarget::Url && p.selected && maglorin::LocalFileReady(p, LocalPlace(p))) p.downloaded = true;
    }
    if (!AnythingToDo(list_)) return {};
    if (request_.wizard) {
        if (request_.beforeWizard) request_.beforeWizard();
        const WizardRequest wizard{request_.productName, WizardSettingsFromOptions(request_.options), request_.textOf};
        const WizardEnd shown = ShowPrerequisitesWizard(wizard, *this);
        log_.Write(shown == WizardEnd::Finished ? u"prerequisites wizard: finished"
                   : shown == WizardEnd::Restart ? u"prerequisites wizard: restart"
                                                 : u"prerequisites wizard: cancelled");
        end_.cancelled = shown == WizardEnd::Cancelled;
        end_.restartStarted = shown == WizardEnd::Restart;
    } else {
        Work();
        end_.cancelled = cancelled_;
    }
    end_.mandatoryMissing = MandatoryStillMissing(list_);
    if (end_.mandatoryMissing) log_.Write(u"prerequisites: a mandatory one is still missing");
    const PrerequisitesVerdict verdict = DecidePrerequisitesEnd(end_);
    outcome_.result = verdict.result;
    outcome_.exitCode = verdict.exitCode;
    outcome_.stopRun = verdict.stopRun;
    return outcome_;
}

}  // namespace

PrerequisitesOutcome RunPrerequisites(const PrerequisitesRequest& request) {
    if (request.configuration == nullptr) return {};
    SetupLog closedLog;
    Phase phase(request, request.log != nullptr ? *request.log : closedLog);
    return phase.Run();
}

bool PrerequisiteProvidesInstallerService(const ConfigurationFile* configuration) {
    if (configuration == nullptr || !ListsInstallerServicePrerequisite(*configuration)) return false;
    // Only one that applies to this system counts.
    const OsIdentity os = IdentifyOs(ReadOsVersionInfo(), IsWindows64Bit());
    for (const Prerequisite& p : LoadPrerequisites(*configuration)) {
        if (NamesInstallerService(p) && PrerequisiteApplies(p, os, GetSystemDefaultLangID())) return true;
    }
    return false;
}

}  // namespace maglorin
