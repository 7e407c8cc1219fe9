// The installation sequence of SetupSession: package, configuration, checks, restart, language,
// launch conditions, prerequisites, instance and installer launch, in this order.

#include <windows.h>

#include "extraction_paths.h"
#include "extraction_progress_win32.h"
#include "fixed_disk_restart_win32.h"
#include "installer_launch_win32.h"
#include "installer_version_win32.h"
#include "language_dialog_win32.h"
#include "language_phase_win32.h"
#include "launch_conditions_phase_win32.h"
#include "message_text.h"
#include "package_configuration.h"
#include "prerequisites_phase_win32.h"
#include "reference_lookups_win32.h"
#include "reference_resolver.h"
#include "restart_plan.h"
#include "resume_registration_phase_win32.h"
#include "resume_registration_win32.h"
#include "setup_resources_win32.h"
#include "setup_session_win32.h"

namespace maglorin {

namespace {

constexpr int kResultNoProgramPath = 4;  // the running program's path could not be read

bool IsBlank(std::u16string_view text) { return text.find_first_not_of(u' ') == std::u16string_view::npos; }

}  // namespace

int SetupSession::Install() {
    Step(u"install");
    if (const FoundOption* original = parsed_.Find(OptionId::OriginalPath)) {
        packagePath_ = PathFromUtf16(original->value);
        restarted_ = true;
        selfDeleteRecord_ = maglorin::SelfDeleteRecord(programPath_);
        log_.Write(selfDeleteRecord_.empty() ? u"restarted copy: not this flow's temporary copy, kept at exit"
                                             : u"restarted copy: deleted at exit");
    } else {
        packagePath_ = programPath_;
    }
    if (packagePath_.empty()) return messages_.ShowResult(kResultNoProgramPath);
    log_.Write(u"package: " + Utf16FromPath(packagePath_));
    windowTitle_ = PathFromUtf16(FormatText(Utf16FromPath(messages_.Text(kStringSetupTitle)), {Utf16FromPath(productName_)}));
    ::SetCurrentDirectoryW(PackageFolder().c_str());

    if (const auto end = OpenPackage()) return *end;
    if (const auto end = ReadConfiguration()) return *end;
    FixUserInterfaceLevel();
    if (const int result = CreateExtractor(!quiet_); result != kResultSuccess) return messages_.ShowResult(result);
    if (const auto end = TakeLock()) return *end;
    ShowStatus(kStringPreparing);
    FindSamePackage();
    if (const auto end = CheckIntegrity()) return *end;
    if (const auto end = CheckInstallerVersion()) return *end;
    if (const auto end = RestartFromFixedDisk()) return *end;
    return LaunchAfterChecks();
}

std::optional<int> SetupSession::OpenPackage() {
    const int result = reader_.Open(packagePath_);
    if (result == kResultSuccess) return std::nullopt;
    return messages_.ShowResult(result);
}

std::optional<int> SetupSession::ReadConfiguration() {
    if (!HasFlag(reader_.Flags(), PackageFlags::HasConfiguration)) return std::nullopt;
    Step(u"read the configuration");
    const int result = ReadPackageConfiguration(reader_, PackageFolder(), configuration_);
    if (result != kResultSuccess) return messages_.ShowResult(result);
    hasConfiguration_ = true;
    general_ = ReadGeneralOptions(configuration_);
    return std::nullopt;
}

void SetupSession::FixUserInterfaceLevel() {
    if (parsed_.Has(OptionId::NoUi)) {
        general_.AddOption(kOptionQuiet);
    } else if (parsed_.Has(OptionId::BasicUi)) {
        general_.AddOption(kOptionBasicUi);
    }
    quiet_ = general_.HasOption(kOptionQuiet);
    messages_.SetUserInterfaceEnabled(!quiet_);
    log_.Write(quiet_ ? u"user interface: none" : u"user interface: enabled");
}

std::optional<int> SetupSession::TakeLock() {
    lock_ = TakeSingleInstanceLock(PathFromAscii(reader_.DigestText()));
    if (!lock_.alreadyExisted || parsed_.Has(OptionId::NoUi) || parsed_.Has(OptionId::BasicUi)) return std::nullopt;
    extractor_->SetCleanupMode(CleanupMode::KeepEntries);  // the other run owns the extracted files
    messages_.Show(messages_.Text(kStringAnotherInstance), MB_ICONERROR, false);
    return 0;
}

void SetupSession::FindSamePackage() {
    if (!hasConfiguration_ || general_.upgradeCode.empty()) return;
    if (const auto productCode = FindSamePackageInstall(general_.upgradeCode, general_.packageCode)) {
        samePackageInstalled_ = true;
        samePackageProductCode_ = *productCode;
        log_.Write(u"this package is installed as " + *productCode);
    }
}

std::optional<int> SetupSession::CheckIntegrity() {
    if (!HasFlag(reader_.Flags(), PackageFlags::VerifyDigest)) return std::nullopt;
    ShowStatus(kStringCheckingIntegrity);
    if (reader_.CheckIntegrity() == kResultSuccess) return std::nullopt;
    messages_.Show(messages_.Text(kStringCorruptedArchive), MB_ICONERROR, false);
    return 1;  // a damaged package is a failure, not a check that merely declined
}

std::optional<int> SetupSession::CheckInstallerVersion() {
    const VersionNumber installed = InstalledInstallerVersion();
    const VersionNumber required = general_.minWIVer.IsZero() ? VersionNumber(2, 0, 0, 0) : general_.minWIVer;
    log_.Write(u"Windows Installer " + installed.ToText() + u", required " + required.ToText());
    if (installed >= required || PrerequisiteProvidesInstallerService(hasConfiguration_ ? &configuration_ : nullptr)) {
        return std::nullopt;
    }
    const std::u16string text = FormatText(Utf16FromPath(messages_.Text(kStringInstallerTooOld)),
                                           {Utf16FromPath(productName_), required.ToText()});
    messages_.Show(PathFromUtf16(text), MB_ICONERROR, false);
    return 0;
}

std::optional<int> SetupSession::RestartFromFixedDisk() {
    if (!NeedsFixedDiskRestart(restarted_, reader_.Flags(), Utf16FromPath(packagePath_), IsOnFixedDisk(packagePath_))) {
        return std::nullopt;
    }
    Step(u"restart from the temporary folder");
    return RestartFromTemporaryCopy(programPath_, packagePath_, parsed_, log_);
}

// The language step; false when the user cancelled the choice.
bool SetupSession::ChooseSessionLanguage() {
    PayloadExtractor* extractor = extractor_.get();
    languages_ = std::make_unique<LanguageManager>(
        BuiltInLanguages(), LibraryLanguages(reader_.Entries()), [extractor](std::uint16_t id, std::wstring& path) {
            PathText copied;
            if (extractor->ExtractLanguageLibrary(id, copied) != kResultSuccess) return false;
            path = copied;
            return true;
        });
    languages_->SetSwitchHandler([this] {
        messages_.SetTextSource(languages_->TextSource());
        windowTitle_ = PathFromUtf16(FormatText(Utf16FromPath(messages_.Text(kStringSetupTitle)), {Utf16FromPath(productName_)}));
    });
    LanguagePhaseRequest request;
    if (const FoundOption* language = parsed_.Find(OptionId::Language)) request.requestedLanguage = language->value;
    request.quiet = quiet_;
    request.packageFlags = reader_.Flags();
    request.system = CurrentSystemLanguages();
    request.manager = languages_.get();
    const std::u16string upgradeCode = hasConfiguration_ ? general_.upgradeCode : std::u16string();
    request.installedLanguage = [upgradeCode] { return InstalledProductLanguage(upgradeCode); };
    request.hideStatus = [this] { status_.Hide(); };
    request.ask = [this](const std::vector<std::uint16_t>& languages, std::uint16_t preselected) {
        return AskLanguage(nullptr, windowTitle_, languages, preselected);
    };
    if (!ChooseLanguage(request).cancelled) {
        log_.Write(u"language: " + Utf16FromPath(std::to_wstring(languages_->Chosen())) +
                   (languages_->NotFixed() ? u" (not fixed)" : u" (fixed)") + u", window title: " + Utf16FromPath(windowTitle_));
        return true;
    }
    return false;
}

int SetupSession::LaunchAfterChecks() {
    if (!ChooseSessionLanguage()) {
        Step(u"language choice cancelled");
        RemoveResumeRegistration(packagePath_);
        return 0;
    }
    const LanguageManager& language = *languages_;

    const ConfigurationFile* configuration = hasConfiguration_ ? &configuration_ : nullptr;
    ShowStatus(kStringEvaluatingConditions);
    LaunchConditionsRequest conditions;
    conditions.configuration = configuration;
    conditions.requireInternetConnection = !general_.mainAppURL.empty();
    conditions.productName = Utf16FromPath(productName_);
    conditions.messages = &messages_;
    conditions.log = &log_;
    const LaunchConditionsResult conditionsResult = EvaluateLaunchConditions(conditions);
    if (!conditionsResult.passed) return conditionsResult.exitCode;

    PrerequisitesRequest prerequisitesRequest;
    prerequisitesRequest.configuration = configuration;
    prerequisitesRequest.userInterfaceEnabled = !quiet_;
    // The full user interface chooses in the wizard; the basic one takes every missing prerequisite.
    prerequisitesRequest.wizard = !quiet_ && !general_.HasOption(kOptionBasicUi);
    prerequisitesRequest.productName = Utf16FromPath(productName_);
    prerequisitesRequest.beforeWizard = [this] { status_.Hide(); };
    prerequisitesRequest.messages = &messages_;
    prerequisitesRequest.log = &log_;
    prerequisitesRequest.extractor = extractor_.get();
    prerequisitesRequest.packageFolder = Utf16FromPath(PackageFolder());
    prerequisitesRequest.options = general_.options;
    prerequisitesRequest.downloadFolder = general_.downloadFolder;
    if (const FoundOption* user = parsed_.Find(OptionId::ProxyUserName)) prerequisitesRequest.proxyUserName = user->value;
    if (const FoundOption* password = parsed_.Find(OptionId::ProxyPassword)) prerequisitesRequest.proxyPassword = password->value;
    prerequisitesRequest.textOf = [this](int id) {
        const std::wstring text = messages_.Text(static_cast<SetupStringId>(id));
        return std::u16string(text.begin(), text.end());
    };
    prerequisitesRequest.showProgress = [this](int id, const std::u16string& name) {
        const std::u16string text = FormatText(Utf16FromPath(messages_.Text(static_cast<SetupStringId>(id))), {name});
        if (messages_.UserInterfaceEnabled()) status_.Show(windowTitle_, PathFromUtf16(text));
    };
    prerequisitesRequest.cancelRequested = [this] { return status_.CancelRequested(); };
    // Before every restart: run again at the next logon, silent runs staying silent.
    prerequisitesRequest.registerResume = [this] {
        const bool registered = RegisterResume(packagePath_, PathFromUtf16(KeptOptionsAndTail(parsed_)));
        Step(registered ? u"resume registered for the next logon" : u"resume registration failed");
    };
    Step(u"prerequisites");
    const PrerequisitesOutcome prerequisites = RunPrerequisites(prerequisitesRequest);
    if (prerequisites.stopRun) {
        RemoveResumeRegistration(packagePath_);
        return -1;
    }
    int exitCode = prerequisites.exitCode.value_or(0);

    InstallerLaunchRequest request;
    request.installerOptions = parsed_.tail;
    if (IsBlank(request.installerOptions)) {
        SystemReferenceLookups lookups;
        request.installerOptions = ReferenceResolver(lookups, Utf16FromPath(PackageFolder())).Resolve(general_.mainAppCmdLine);
    }
    request.packagePath = Utf16FromPath(packagePath_);
    request.productName = Utf16FromPath(productName_);
    request.generalOptions = hasConfiguration_ ? &general_ : nullptr;
    request.configuration = configuration;
    request.packageFlags = reader_.Flags();
    request.extractor = extractor_.get();
    request.languageId = language.Chosen();
    request.languageNotFixed = language.NotFixed();
    request.singleBuiltInLanguage = language.BuiltIn().size() <= 1;
    request.availableLanguages = language.Available();
    const SystemLanguageIds system = CurrentSystemLanguages();
    const bool userFirst = HasFlag(reader_.Flags(), PackageFlags::UserLanguageFirst);
    request.defaultLanguageChoice = [system, userFirst](const std::vector<std::uint16_t>& candidates) {
        return DefaultLanguageChoice(candidates, system, userFirst);
    };
    request.samePackageInstalled = samePackageInstalled_;
    request.samePackageProductCode = samePackageProductCode_;
    request.prerequisitesResult = prerequisites.result;
    request.prerequisiteResults = prerequisites.resultProperties;
    request.userInterfaceEnabled = !quiet_;
    request.messages = &messages_;
    request.text = [this](SetupStringId id) { return Utf16FromPath(messages_.Text(id)); };
    request.log = &log_;
    const std::wstring packagePath = packagePath_;
    request.removeResumeRegistration = [packagePath] { RemoveResumeRegistration(packagePath); };
    if (prerequisites.result != 0) return exitCode;

    InstanceSelection selection;
    if (ChooseInstance(request, selection) != 0) {
        Step(u"instance choice cancelled");
        RemoveResumeRegistration(packagePath_);
        return -1;
    }
    // The window follows the extraction of the main package and goes when it is done.
    ExtractionProgress progress(status_);
    if (!quiet_) {
        ShowStatus(kStringExtracting);
        request.extractionProgress = &progress;
    }
    const InstallerLaunchOutcome outcome = LaunchInstaller(request, selection);
    status_.Hide();
    exitCode = outcome.exitCode;
    if (outcome.resultToReport != kResultSuccess) {
        const int resultExit = messages_.ShowResult(outcome.resultToReport);
        if (exitCode == 0) exitCode = resultExit;  // a reported failure never ends as success
    }
    return exitCode;
}

}  // namespace maglorin
