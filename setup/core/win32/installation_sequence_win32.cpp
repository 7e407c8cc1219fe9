// The installation sequence of SetupSession: package, configuration, checks, restart, language,
// launch conditions, prerequisites, instance and installer launch, in this order.

#include <windows.h>

#include "extraction_paths.h"
#include "extraction_progress_win32.h"
#include "fixed_disk_restart_win32.h"
#include "installer_launch_win32.h"
#include "installer_version_win32.h"
#include "language_phase_win32.h"
#include "launch_conditions_phase_win32.h"
#include "message_text.h"
#include "package_configuration.h"
#include "prerequisites_phase_win32.h"
#include "reference_lookups_win32.h"
#include "reference_resolver.h"
#include "restart_plan.h"
#include "resume_registration_phase_win32.h"
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
    CreateExtractor(!quiet_);
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

int SetupSession::LaunchAfterChecks() {
    LanguagePhaseRequest languageRequest;
    if (const FoundOption* language = parsed_.Find(OptionId::Language)) languageRequest.requestedLanguage = language->value;
    languageRequest.quiet = quiet_;
    languageRequest.packageFlags = reader_.Flags();
    languageRequest.builtInLanguages = BuiltInLanguages();
    languageRequest.libraryLanguages = LibraryLanguages(reader_.Entries());
    const LanguagePhaseResult language = ChooseLanguage(languageRequest);
    if (language.cancelled) {
        Step(u"language choice cancelled");
        return 0;
    }
    messages_.SetTextSource(language.textSource);

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
    request.languageId = language.languageId;
    request.languageNotFixed = language.notFixed;
    request.singleBuiltInLanguage = languageRequest.builtInLanguages.size() <= 1;
    request.availableLanguages = languageRequest.builtInLanguages;
    request.availableLanguages.insert(request.availableLanguages.end(), languageRequest.libraryLanguages.begin(),
                                      languageRequest.libraryLanguages.end());
    request.samePackageInstalled = samePackageInstalled_;
    request.samePackageProductCode = samePackageProductCode_;
    request.prerequisitesResult = prerequisites.result;
    request.prerequisiteResults = prerequisites.resultProperties;
    request.userInterfaceEnabled = !quiet_;
    request.messages = &messages_;
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
