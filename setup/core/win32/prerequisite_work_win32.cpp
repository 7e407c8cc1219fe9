#include "prerequisite_work_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "download_job_win32.h"
#include "launch_conditions_win32.h"
#include "md5.h"
#include "win32_handles.h"
#include "windows_bitness_win32.h"

namespace maglorin {
namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }
std::u16string Utf16(std::wstring_view text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

PrerequisiteMachine::PrerequisiteMachine(std::u16string packageFolder, SetupLog& log)
    : log_(log),
      searchLog_(log),
      detection_(&msi_),
      resolver_(lookups_, std::move(packageFolder)),
      evaluator_(detection_, resolver_, &programs_, &searchLog_),
      os_(IdentifyOs(ReadOsVersionInfo(), IsWindows64Bit())),
      languageId_(GetSystemDefaultLangID()) {
    if (!msi_.Load()) log_.Write(u"prerequisites: msi.dll could not be loaded; installer searches find nothing");
}

void PrerequisiteMachine::Detect(Prerequisite& prerequisite) {
    prerequisite.found.clear();
    if (!PrerequisiteApplies(prerequisite, os_, languageId_)) {
        prerequisite.detectionStatus = prerequisite_status::kNotApplicable;
        return;
    }
    const SearchScope scope = prerequisite.SixtyFourBitSearches() ? SearchScope::SixtyFourBit() : SearchScope{};
    const bool present = evaluator_.EvaluateList(prerequisite.searches, prerequisite.listOperator, scope, prerequisite.found);
    prerequisite.detectionStatus = StatusAfterSearches(prerequisite, present);
    log_.Write(u"prerequisite " + prerequisite.name + (present ? u": present" : u": missing"));
}

std::optional<FileFacts> ReadFileFacts(const std::u16string& path) {
    const FileHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return std::nullopt;
    Md5 digest;
    FileFacts facts;
    std::vector<std::uint8_t> block(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), block.data(), static_cast<DWORD>(block.size()), &read, nullptr)) return std::nullopt;
        if (read == 0) break;
        digest.Update(block.data(), read);
        facts.size += read;
    }
    facts.md5 = Md5HexText(digest.Finish());
    return facts;
}

bool LocalFileReady(const Prerequisite& prerequisite, const std::u16string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(Wide(path).c_str(), GetFileExInfoStandard, &data)) return false;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
    const std::uint64_t size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return prerequisite.exactSize == 0 || prerequisite.exactSize == size;
}

bool CheckBeforeRun(const Prerequisite& prerequisite, const std::u16string& path, bool deleteOnFailure, SetupLog& log) {
    if (prerequisite.exactSize == 0 && prerequisite.md5.empty()) return true;
    const std::optional<FileFacts> facts = ReadFileFacts(path);
    if (!facts) {
        log.Write(u"prerequisite " + prerequisite.name + u": its file cannot be read: " + path);
        return false;
    }
    const FileVerdict verdict = VerifyPrerequisiteFile(prerequisite, facts->size, facts->md5);
    if (verdict == FileVerdict::Accepted) return true;
    log.Write(u"prerequisite " + prerequisite.name +
              (verdict == FileVerdict::WrongSize ? u": wrong size, " : u": wrong MD5 digest, ") +
              (deleteOnFailure ? u"file deleted: " : u"file refused: ") + path);
    if (deleteOnFailure && !DeleteFileW(Wide(path).c_str())) log.Write(u"prerequisite: the refused file could not be deleted");
    return false;
}

DownloadResult DownloadPrerequisite(const DownloadRequest& request) {
    // The folders of the local place are made first; the downloader writes the file only.
    const std::wstring path = Wide(request.localPath);
    for (std::size_t slash = path.find(L'\\', 3); slash != std::wstring::npos; slash = path.find(L'\\', slash + 1)) {
        CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
    }
    DownloadSettings settings;
    settings.address = request.address;
    settings.localPath = request.localPath;
    settings.quiet = request.quiet;
    settings.proxyUserName = request.proxyUserName;
    settings.proxyPassword = request.proxyPassword;
    settings.sink = request.sink;
    settings.prompt = request.prompt;
    settings.ownerWindow = request.owner;
    DownloadJob job(std::move(settings));
    return job.Start();
}

std::optional<std::u16string> WriteUrlShortcut(const std::u16string& address) {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH, folder) == 0 || GetTempFileNameW(folder, L"URL", 0, name) == 0) return std::nullopt;
    const std::wstring temporary = name;
    const std::wstring shortcut = temporary + L".url";
    DeleteFileW(temporary.c_str());
    const std::wstring text = Wide(UrlShortcutText(address));
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), bytes, nullptr, nullptr);
    bool written = false;
    {
        const FileHandle file(CreateFileW(shortcut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD count = 0;
        written = file.IsValid() && WriteFile(file.Get(), narrow.data(), static_cast<DWORD>(narrow.size()), &count, nullptr) &&
                  count == narrow.size();
    }
    if (!written) {
        DeleteFileW(shortcut.c_str());  // never a cut shortcut left behind
        return std::nullopt;
    }
    return Utf16(shortcut);
}

bool OpenSiteShortcut(const std::u16string& address, SetupLog& log) {
    const std::optional<std::u16string> shortcut = WriteUrlShortcut(address);
    if (!shortcut) {
        log.Write(u"prerequisite site: the shortcut could not be written");
        return false;
    }
    const auto started = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", Wide(*shortcut).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    log.Write(u"prerequisite site opened through " + *shortcut);
    return started > 32;
}

bool AskAndRestartSystem(bool silent, const std::u16string& question, const std::u16string& caption, HWND owner) {
    if (!silent && MessageBoxW(owner != nullptr ? owner : GetActiveWindow(), Wide(question).c_str(), Wide(caption).c_str(),
                               MB_YESNO | MB_ICONINFORMATION) != IDYES) {
        return true;
    }
    HANDLE rawToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &rawToken)) return false;
    const TokenHandle token(rawToken);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid) ||
        !AdjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr) || GetLastError() != ERROR_SUCCESS) {
        return false;
    }
    ExitWindowsEx(EWX_REBOOT | EWX_FORCE, 0x80040002);
    return false;
}

}  // namespace maglorin
