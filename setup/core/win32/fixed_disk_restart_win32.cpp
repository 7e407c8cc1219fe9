#include "fixed_disk_restart_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "extraction_paths.h"
#include "restart_plan.h"
#include "win32_handles.h"

namespace maglorin {

namespace {

std::wstring TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    return length > 0 && length <= MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

// In the system code page, as the command interpreter reads the script.
std::string SystemCodePageText(const std::wstring& text) {
    if (text.empty()) return {};
    const int bytes = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                            nullptr, nullptr);
    std::string out(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), bytes, nullptr,
                              nullptr);
    }
    return out;
}

std::wstring ShortPath(const std::wstring& path) {
    const DWORD length = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (length == 0) return path;
    std::wstring shortPath(length, L'\0');
    const DWORD written = ::GetShortPathNameW(path.c_str(), shortPath.data(), length);
    if (written == 0 || written >= length) return path;
    shortPath.resize(written);
    return shortPath;
}

std::wstring EnvironmentValue(const wchar_t* name) {
    const DWORD length = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (length == 0) return {};
    std::wstring value(length, L'\0');
    const DWORD written = ::GetEnvironmentVariableW(name, value.data(), length);
    value.resize(written < length ? written : 0);
    return value;
}

}  // namespace

bool IsOnFixedDisk(const std::wstring& path) {
    if (path.size() < 3) return false;
    const std::wstring root = path.substr(0, 3);
    return ::GetDriveTypeW(root.c_str()) == DRIVE_FIXED;
}

int RestartFromTemporaryCopy(const std::wstring& programPath, const std::wstring& packagePath,
                             const ParsedCommandLine& parsed, SetupLog& log) {
    const std::wstring folder = TemporaryFolder();
    if (folder.empty()) return 1;
    const std::wstring copyPath = folder + FileNameOf(programPath);
    ::SetFileAttributesW(copyPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::CopyFileW(programPath.c_str(), copyPath.c_str(), FALSE)) {
        log.Write(u"restart: cannot copy setup to " + Utf16FromPath(copyPath));
        return 1;
    }
    std::wstring commandLine =
        PathFromUtf16(RestartCommandLine(Utf16FromPath(copyPath), Utf16FromPath(packagePath), parsed));
    log.Write(u"restart: " + SetupLog::MaskSecrets(Utf16FromPath(commandLine)));
    // The copy inherits the marker that lets it delete itself at exit.
    const std::wstring markerName = PathFromUtf16(kRestartMarkerVariable);
    ::SetEnvironmentVariableW(markerName.c_str(), copyPath.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started = ::CreateProcessW(copyPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          nullptr, &startup, &process);
    ::SetEnvironmentVariableW(markerName.c_str(), nullptr);
    if (!started) return 1;
    ProcessHandle processHandle(process.hProcess);
    ThreadHandle threadHandle(process.hThread);
    return 0;
}

std::string SelfDeleteRecord(const std::wstring& programPath) {
    const std::wstring marker = EnvironmentValue(PathFromUtf16(kRestartMarkerVariable).c_str());
    if (!IsOwnTemporaryCopy(Utf16FromPath(programPath), Utf16FromPath(TemporaryFolder()), Utf16FromPath(marker))) {
        return {};
    }
    return SystemCodePageText(ShortPath(programPath));
}

void ScheduleSelfDelete(const std::string& copyShortPath) {
    if (copyShortPath.empty()) return;
    const std::wstring folder = TemporaryFolder();
    wchar_t name[MAX_PATH] = {};
    if (folder.empty() || ::GetTempFileNameW(folder.c_str(), L"EXE", 0, name) == 0) return;
    ::DeleteFileW(name);
    const std::wstring scriptPath = std::wstring(name) + L".bat";
    const std::string script = SelfDeleteScript(copyShortPath, SystemCodePageText(scriptPath));
    {
        FileHandle file(::CreateFileW(scriptPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return;
        DWORD written = 0;
        if (!::WriteFile(file.Get(), script.data(), static_cast<DWORD>(script.size()), &written, nullptr) ||
            written != script.size()) {
            file.Reset();
            ::DeleteFileW(scriptPath.c_str());
            return;
        }
    }
    ::ShellExecuteW(nullptr, L"open", scriptPath.c_str(), nullptr, nullptr, SW_HIDE);
}

}  // namespace maglorin
