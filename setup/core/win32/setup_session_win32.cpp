#include "setup_session_win32.h"

#include <windows.h>

#include "extraction_paths.h"
#include "extraction_progress_win32.h"
#include "groups_extract_win32.h"
#include "message_text.h"
#include "package_configuration.h"
#include "reference_lookups_win32.h"
#include "reference_resolver.h"
#include "setup_resources_win32.h"

namespace maglorin {

namespace {

std::wstring RunningProgramPath() {
    wchar_t path[MAX_PATH + 1] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH + 1);
    return length > 0 && length <= MAX_PATH ? std::wstring(path, length) : std::wstring();
}

std::wstring FullPath(const std::wstring& path) {
    const DWORD length = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = ::GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return path;
    full.resize(written);
    return full;
}

bool IsExistingFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsDriveRoot(const std::wstring& path) {
    return path.size() == 3 && path[1] == L':' && path[2] == L'\\' &&
           ((path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z'));
}

std::u16string Decimal(int value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

SetupSession::SetupSession(const std::wstring& commandLine)
    : parsed_(ParseCommandLine(Utf16FromPath(commandLine))),
      programPath_(RunningProgramPath()),
      productName_(ProductNameFromVersionResource()) {
    if (const FoundOption* logFile = parsed_.Find(OptionId::Log)) {
        if (!log_.Open(std::filesystem::path(PathFromUtf16(logFile->value)))) {
            ::OutputDebugStringW((L"setup: cannot open the log " + PathFromUtf16(logFile->value)).c_str());
        }
    }
    log_.Write(u"setup: " + Utf16FromPath(programPath_));
    log_.Write(u"command line: " + SetupLog::MaskSecrets(Utf16FromPath(commandLine)));
}

int SetupSession::Run() {
    int exitCode = 0;
    switch (ChooseRunMode(parsed_)) {
        case RunMode::Help: exitCode = ShowHelp(); break;
        case RunMode::ListLanguages: exitCode = ListLanguages(); break;
        case RunMode::Extract: exitCode = ExtractToFolder(); break;
        case RunMode::ExtractMainPackage: exitCode = ExtractMainPackage(); break;
        case RunMode::DeleteMainPackage: exitCode = DeleteMainPackage(); break;
        case RunMode::GroupsExtract: exitCode = ExtractGroups(); break;
        case RunMode::Install: exitCode = Install(); break;
    }
    log_.Write(u"exit code: " + Decimal(exitCode));
    return exitCode;
}

std::wstring SetupSession::PackageFolder() const {
    const std::size_t separator = packagePath_.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : packagePath_.substr(0, separator + 1);
}

void SetupSession::ShowStatus(SetupStringId text) {
    const std::wstring shown = messages_.Text(text);
    Step(Utf16FromPath(shown));
    if (messages_.UserInterfaceEnabled()) status_.Show(windowTitle_, shown);
}

int SetupSession::ShowHelp() {
    Step(u"help");
    const std::u16string name = ProgramBaseName(Utf16FromPath(programPath_));
    const std::u16string caption = FormatText(Utf16FromPath(messages_.Text(kStringHelpCaption)), {name});
    const std::u16string text = FormatText(Utf16FromPath(messages_.Text(kStringHelpText)), {name});
    messages_.Show(PathFromUtf16(text), MB_ICONINFORMATION, false, PathFromUtf16(caption).c_str());
    return 0;
}

int SetupSession::ListLanguages() {
    Step(u"list languages");
    packagePath_ = programPath_;
    if (const int result = reader_.Open(packagePath_); result != kResultSuccess) return messages_.ShowResult(result);
    std::vector<std::uint16_t> languages = BuiltInLanguages();
    const std::vector<std::uint16_t> libraries = LibraryLanguages(reader_.Entries());
    languages.insert(languages.end(), libraries.begin(), libraries.end());
    const std::u16string name = ProgramBaseName(Utf16FromPath(programPath_));
    const std::u16string caption = FormatText(Utf16FromPath(messages_.Text(kStringLanguagesCaption)), {name});
    const std::u16string text = LanguageListText(languages, LanguageName);
    messages_.Show(PathFromUtf16(text), MB_ICONINFORMATION, false, PathFromUtf16(caption).c_str());
    return 0;
}

int SetupSession::CreateExtractor(bool userInterfaceEnabled) {
    // Without a DefaultProdCode the sub-folder comes from the footer's digest, which may not
    // have been verified: one that cannot name a folder is a damaged package.
    const std::optional<PathText> subFolder = PackageSubFolderName(general_.defaultProdCode, reader_.DigestText());
    if (!subFolder) return kResultDamagedPackage;
    ExtractionSettings settings;
    settings.setupFolder = PackageFolder();
    settings.packageSubFolder = *subFolder;
    settings.packJars = general_.packJars;
    settings.userInterfaceEnabled = userInterfaceEnabled;
    settings.cleanupMode = CleanupModeFromKeepFiles(general_.keepFiles);
    ExtractionServices services;
    services.messages = &messages_;
    extractor_ = std::make_unique<PayloadExtractor>(reader_, settings, services);
    if (general_.extractionFolder.empty()) return kResultSuccess;
    SystemReferenceLookups lookups;
    const ReferenceResolver resolver(lookups, Utf16FromPath(PackageFolder()));
    const std::u16string folder = resolver.Resolve(general_.extractionFolder);
    if (!folder.empty()) {
        extractor_->SetExtractionFolder(ExtractionFolderForm(FullPath(PathFromUtf16(folder))));
        log_.Write(u"extraction folder: " + folder);
    }
    return kResultSuccess;
}

int SetupSession::PrepareExtraction(bool userInterfaceEnabled) {
    packagePath_ = programPath_;
    if (const int result = reader_.Open(packagePath_); result != kResultSuccess) return result;
    if (HasFlag(reader_.Flags(), PackageFlags::HasConfiguration)) {
        if (const int result = ReadPackageConfiguration(reader_, PackageFolder(), configuration_);
            result != kResultSuccess) {
            return result;
        }
        hasConfiguration_ = true;
        general_ = ReadGeneralOptions(configuration_);
    }
    return CreateExtractor(userInterfaceEnabled);
}

int SetupSession::ExtractToFolder() {
    Step(u"extract");
    const std::wstring value = FullPath(PathFromUtf16(parsed_.Find(OptionId::Extract)->value));
    const std::wstring requested = PathFromUtf16(parsed_.Find(OptionId::Extract)->value);
    windowTitle_ = PathFromUtf16(FormatText(Utf16FromPath(messages_.Text(kStringSetupTitle)), {Utf16FromPath(productName_)}));
    if (const int result = PrepareExtraction(true); result != kResultSuccess) return messages_.ShowResult(result);
    if (!HasFlag(reader_.Flags(), PackageFlags::ExtractOnRequest) &&
        !HasFlag(reader_.Flags(), PackageFlags::BesideFilesCompressed)) {
        log_.Write(u"extract: the package offers nothing to extract");
        return 0;
    }
    const bool usable = !requested.empty() && (requested == L"." || IsDriveRoot(requested) || IsExistingFolder(value));
    const std::wstring target = usable ? value : PackageFolder();
    extractor_->SetExtractionFolder(ExtractionFolderForm(target));
    extractor_->SetCleanupMode(CleanupMode::KeepEntries);
    log_.Write(u"extract to: " + Utf16FromPath(target));
    ShowStatus(kStringExtracting);
    ExtractionProgress progress(status_);
    const int result = extractor_->ExtractForExtractCommand(&progress);
    status_.Hide();
    return messages_.ShowResult(result) == 0 ? 0 : 1;
}

int SetupSession::ExtractMainPackage() {
    Step(u"extract the main package");
    messages_.SetUserInterfaceEnabled(false);  // this mode reports nothing to the user
    if (PrepareExtraction(false) != kResultSuccess) return 1;
    extractor_->SetCleanupMode(CleanupMode::KeepEntries);
    PathText databasePath;
    const int result = extractor_->ExtractMainPackage(nullptr, databasePath);
    log_.Write(u"result: " + Decimal(result));
    // A failed extraction is no success for the caller, even without a message.
    return result == kResultSuccess ? 0 : 1;
}

int SetupSession::DeleteMainPackage() {
    Step(u"delete the main package");
    if (PrepareExtraction(true) != kResultSuccess) return 1;
    const int result = extractor_->DeleteMainPackageFolder();
    log_.Write(u"result: " + Decimal(result));
    return result == kResultSuccess ? 0 : 1;
}

int SetupSession::ExtractGroups() {
    Step(u"extract groups");
    GroupsExtractRequest request;
    request.packagePath = programPath_;
    request.groupsValue = PathFromUtf16(parsed_.Find(OptionId::GroupsExtract)->value);
    if (const FoundOption* out = parsed_.Find(OptionId::Out)) request.outValue = PathFromUtf16(out->value);
    if (const FoundOption* id = parsed_.Find(OptionId::CallbackId)) request.callbackId = PathFromUtf16(id->value);
    request.userInterfaceEnabled = !parsed_.Has(OptionId::NoUi);
    messages_.SetUserInterfaceEnabled(request.userInterfaceEnabled);
    ExtractionServices services;
    services.messages = &messages_;
    const GroupsExtractOutcome outcome = RunGroupsExtract(request, services);
    log_.Write(u"result: " + Decimal(outcome.result));
    return outcome.exitCode;
}

}  // namespace maglorin
