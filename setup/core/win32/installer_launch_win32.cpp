#include "installer_launch_win32.h"

#include <windows.h>

#include <string>
#include <vector>

#include "extraction_paths.h"
#include "instance_record.h"
#include "message_text.h"
#include "instances_dialog_win32.h"
#include "msi_library_win32.h"
#include "payload_extractor.h"
#include "win32_handles.h"
#include "windows_bitness_win32.h"
#include "wide_text.h"

namespace maglorin {

namespace {

std::u16string Decimal(std::int64_t value) {
    const std::string ascii = std::to_string(value);
    return std::u16string(ascii.begin(), ascii.end());
}

void Log(const InstallerLaunchRequest& request, const std::u16string& line) {
    if (request.log != nullptr) {
        request.log->Write(line);
    }
}

std::u16string Text(const InstallerLaunchRequest& request, SetupStringId id) {
    if (request.text) {
        return request.text(id);
    }
    for (const SetupStringText& row : kSetupStrings) {
        if (row.id == id) return row.text;
    }
    return {};
}

void ShowError(const InstallerLaunchRequest& request, const std::u16string& text) {
    if (request.messages != nullptr) {
        request.messages->ShowError(PathFromUtf16(text));
    }
}

void RemoveResumeRegistration(const InstallerLaunchRequest& request) {
    if (request.removeResumeRegistration) {
        request.removeResumeRegistration();
    }
}

// This thread's active window, or none: another program's window never owns our dialogs (its
// closing would take them down unanswered).
HWND DialogOwner() { return ::GetActiveWindow(); }

// "[SystemFolder]msiexec.exe": the native system folder (a 32-bit process starts it with the
// file-system redirection off).
std::u16string InstallerProgram() {
    wchar_t folder[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length > MAX_PATH) {
        return {};
    }
    std::u16string program = FromWide(folder, length);
    if (program.back() != u'\\') {
        program += u'\\';
    }
    return program + u"msiexec.exe";
}

// The instance the user would take: the preselected choice, and for maintenance the first
// installed instance. A quiet run cannot ask.
InstanceDialogChoice QuietInstanceChoice(const InstanceSelection& selection) {
    const InstanceDialogModel model = MakeInstanceDialogModel(selection);
    if (model.newInstancePreselected || model.rows.empty()) {
        return {InstanceMode::NewInstance, std::nullopt};
    }
    return {InstanceMode::Maintain, model.rows.front()};
}

bool ConfirmUpgrade(const InstallerLaunchRequest& request) {
    if (request.confirmUpgrade) {
        return request.confirmUpgrade();
    }
    if (!request.userInterfaceEnabled) {
        return true;
    }
    const std::wstring question = PathFromUtf16(Text(request, kStringUpgradeInstance));
    const std::wstring caption = PathFromUtf16(Text(request, kStringQuestionCaption));
    return ::MessageBoxW(DialogOwner(), question.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The database to install: the MainAppURL address, or the main package extracted. nullopt with
// the outcome filled when the launch ends here.
std::optional<std::u16string> PreparePackagePath(InstallerLaunchRequest& request, InstallerLaunchOutcome& outcome) {
    const std::u16string url = request.generalOptions ? request.generalOptions->mainAppURL : std::u16string();
    if (!url.empty()) {
        if (!request.urlReachable) {
            Log(request, u"Package address used unchecked: " + url);
            return url;
        }
        if (request.urlReachable(url)) {
            return url;
        }
        // An address that cannot be reached is an error of the run, not a choice of the user.
        ShowError(request, FormatText(Text(request, kStringCannotAccessUrl), {url}));
        Log(request, u"Cannot reach the package address " + url);
        outcome.exitCode = kExitError;
        return std::nullopt;
    }
    PathText databasePath;
    const int result = request.extractor != nullptr
                           ? request.extractor->ExtractMainPackage(request.extractionProgress, databasePath)
                           : kResultExtractionFailed;
    if (result != kResultSuccess) {
        RemoveResumeRegistration(request);
        const InstallerOutcome failure = ExtractionFailureOutcome(result, request.samePackageInstalled);
        outcome.exitCode = failure.exitCode;
        outcome.resultToReport = failure.result;
        outcome.cleanupMode = failure.cleanupMode;
        Log(request, u"Extraction of the main package failed with result " + Decimal(result));
        return std::nullopt;
    }
    return Utf16FromPath(WithoutLongPathPrefix(databasePath));
}

CommandLineInputs CommandLineInputsFor(const InstallerLaunchRequest& request, const InstanceSelection& selection,
                                       const std::u16string& databasePath) {
    CommandLineInputs inputs;
    inputs.options = request.installerOptions;
    inputs.packagePath = request.packagePath;
    inputs.databasePath = databasePath;
    inputs.mainIsPatch = HasFlag(request.packageFlags, PackageFlags::MainIsPatch);
    inputs.is64BitWindows = IsWindows64Bit();
    inputs.instances = &selection;
    inputs.prerequisiteResults = request.prerequisiteResults;
    std::vector<std::uint16_t> candidates = request.availableLanguages;
    if (const GeneralOptions* options = request.generalOptions) {
        inputs.allPlatforms = options->allPlatforms;
        inputs.is64PlatformTransf = options->is64PlatformTransf;
        inputs.reinstallOlder = options->HasOption(kOptionReinstallOlder);
        if (options->allPlatforms) {
            candidates = ParseLanguageIds(options->langs);
        }
    }
    inputs.languageId = TransformLanguage(request.languageId, request.languageNotFixed, request.singleBuiltInLanguage,
                                          candidates, request.defaultLanguageChoice);
    return inputs;
}

void ApplyCleanupMode(const InstallerLaunchRequest& request, const InstallerLaunchOutcome& outcome) {
    if (outcome.cleanupMode && request.extractor != nullptr) {
        request.extractor->SetCleanupMode(*outcome.cleanupMode);
    }
}

}  // namespace

std::optional<std::u16string> FindSamePackageInstall(std::u16string_view upgradeCode, std::u16string_view packageCode) {
    MsiLibrary msi;
    if (!msi.Load()) {
        return std::nullopt;
    }
    return FindSamePackageInstall(msi, upgradeCode, packageCode);
}

std::int32_t ChooseInstance(InstallerLaunchRequest& request, InstanceSelection& selection) {
    ScanInstanceOptions(request.installerOptions, selection);
    if (selection.optionsDecide || request.configuration == nullptr || request.prerequisitesResult != 0) {
        return 0;
    }
    selection.instances = ReadInstances(*request.configuration);
    MsiLibrary msi;
    if (selection.instances.empty() || !msi.Load()) {
        return 0;
    }
    FillInstalledInstances(msi, selection);
    if (!selection.someInstalled) {
        return 0;
    }
    std::optional<InstanceDialogChoice> choice;
    if (request.chooseInstance) {
        choice = request.chooseInstance(selection);
    } else if (request.userInterfaceEnabled) {
        choice = ShowInstancesDialog(DialogOwner(), selection, request.productName);
    } else {
        choice = QuietInstanceChoice(selection);
    }
    if (!choice || !ApplyInstanceChoice(*choice, selection)) {
        Log(request, u"Instance choice cancelled");
        return kExitCancelled;
    }
    return 0;
}

std::optional<std::uint32_t> RunAndWait(const std::u16string& program, const std::u16string& commandLine) {
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');  // CreateProcessW may write into the command line
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    BOOL started = FALSE;
    {
        const FileSystemRedirectionOff nativeSystemFolder;
        started = ::CreateProcessW(WideText(program), line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                                   nullptr, nullptr, &startup, &info);
    }
    if (!started) {
        return std::nullopt;
    }
    const ProcessHandle process(info.hProcess);
    const ThreadHandle thread(info.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(process.Get(), &exitCode)) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(exitCode);
}

InstallerLaunchOutcome LaunchInstaller(InstallerLaunchRequest& request, const InstanceSelection& selection) {
    InstallerLaunchOutcome outcome;
    const std::optional<std::u16string> databasePath = PreparePackagePath(request, outcome);
    if (!databasePath) {
        ApplyCleanupMode(request, outcome);
        return outcome;
    }
    MsiLibrary msi;
    const bool msiLoaded = msi.Load();
    CommandLineQuestions questions;
    questions.minorUpgrade = [&](const std::u16string& path) { return msiLoaded && IsMinorUpgrade(msi, path); };
    questions.confirmUpgrade = [&] { return ConfirmUpgrade(request); };
    const CommandLineResult commandLine =
        BuildInstallerCommandLine(CommandLineInputsFor(request, selection, *databasePath), questions);
    if (commandLine.cancelled) {
        RemoveResumeRegistration(request);
        Log(request, u"Instance upgrade declined");
        outcome.exitCode = kExitCancelled;
        return outcome;
    }

    const std::u16string program = InstallerProgram();
    Log(request, u"Starting \"" + program + u"\"" + SetupLog::MaskSecrets(commandLine.commandLine));
    const std::optional<std::uint32_t> exitCode = RunAndWait(program, commandLine.commandLine);
    RemoveResumeRegistration(request);

    InstallerRun run;
    run.started = exitCode.has_value();
    run.exitCode = exitCode.value_or(0);
    run.samePackageInstalledBefore = request.samePackageInstalled;
    run.productStillInstalled = request.samePackageInstalled && msiLoaded &&
                                msi.ProductState(request.samePackageProductCode) == kProductStateInstalled;
    const InstallerOutcome decided = DecideInstallerOutcome(run);
    outcome.exitCode = decided.exitCode;
    outcome.resultToReport = decided.result;
    outcome.cleanupMode = decided.cleanupMode;
    Log(request, run.started ? u"Installer exit code " + Decimal(run.exitCode) : u"Windows Installer could not be started.");
    ApplyCleanupMode(request, outcome);
    return outcome;
}

}  // namespace maglorin
