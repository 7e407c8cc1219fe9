#include "jar_unpacking_win32.h"

#include <string>

#include "payload_extractor.h"
#include "version_number.h"
#include "win32_handles.h"

namespace maglorin {

namespace {

[[nodiscard]] bool FileExists(const PathText& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void CollectIn(const PathText& folder, std::size_t index, std::vector<PackedJar>& jars) {
    WIN32_FIND_DATAW found;
    const PathText pattern = folder + L'*';
    FindHandle search(::FindFirstFileW(pattern.c_str(), &found));
    if (!search) {
        return;
    }
    do {
        const PathText name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        if (directory && !link) {
            CollectIn(folder + name + L'\\', index, jars);
        } else if (!directory && IsPackedJarName(name)) {
            jars.push_back({folder + name, index});
        }
    } while (::FindNextFileW(search.Get(), &found));
}

std::optional<PathText> RegistryText(HKEY key, const wchar_t* valueName) {
    wchar_t buffer[MAX_PATH + 1] = {};
    DWORD size = sizeof(buffer) - sizeof(wchar_t);
    DWORD type = REG_NONE;
    if (::RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::nullopt;
    }
    return PathText(buffer);
}

std::optional<PathText> FindInRegisteredRuntimes(REGSAM view) {
    RegistryKeyHandle runtimes;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\JavaSoft\\Java Runtime Environment\\", 0,
                        KEY_READ | view, runtimes.Receive()) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const VersionNumber lowest = VersionNumber::Parse(u"1.5");
    for (DWORD i = 0;; ++i) {
        wchar_t name[256] = {};
        DWORD length = 255;
        if (::RegEnumKeyExW(runtimes.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (VersionNumber::Parse(Utf16FromPath(name)) < lowest) {
            continue;
        }
        RegistryKeyHandle runtime;
        if (::RegOpenKeyExW(runtimes.Get(), name, 0, KEY_READ | view, runtime.Receive()) != ERROR_SUCCESS) {
            continue;
        }
        if (std::optional<PathText> home = RegistryText(runtime.Get(), L"JavaHome")) {
            if (!home->empty() && home->back() != L'\\') *home += L'\\';
            const PathText program = *home + L"bin\\unpack200.exe";
            if (FileExists(program)) {
                return program;
            }
        }
    }
}

std::optional<PathText> ReadLog(const PathText& logFile) {
    FileHandle log(::CreateFileW(logFile.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log) {
        return std::nullopt;
    }
    std::string bytes(64 * 1024, '\0');
    DWORD got = 0;
    if (!::ReadFile(log.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
        return std::nullopt;
    }
    bytes.resize(got);
    const int units = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    PathText text(static_cast<std::size_t>(units), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), units);
    return text;
}

// Runs the unpacker without a window and waits for it; false when it cannot be started.
[[nodiscard]] bool RunHidden(const PathText& prefixedProgram, const PathText& arguments) {
    const PathText program = WithoutLongPathPrefix(prefixedProgram);
    PathText commandLine = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &info)) {
        return false;
    }
    ProcessHandle process(info.hProcess);
    ThreadHandle thread(info.hThread);
    ::WaitForSingleObject(process.Get(), INFINITE);
    return true;
}

PathText FileNameOf(const PathText& path) {
    const std::size_t slash = path.rfind(L'\\');
    return slash == PathText::npos ? path : path.substr(slash + 1);
}

std::optional<PathText> TemporaryLogFile() {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t file[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH, folder);
    if (length == 0 || length > MAX_PATH || ::GetTempFileNameW(folder, L"log", 0, file) == 0) {
        return std::nullopt;
    }
    return PathText(file);
}

}  // namespace

std::vector<PackedJar> CollectPackedJars(const std::vector<PathText>& folders) {
    std::vector<PackedJar> jars;
    for (std::size_t i = 0; i < folders.size(); ++i) {
        PathText folder = folders[i];
        if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
        CollectIn(folder, i, jars);
    }
    return jars;
}

std::optional<PathText> FindUnpackProgram(PathTextView firstUnpackFolder) {
    PathText folder(firstUnpackFolder);
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    for (const wchar_t* bundled : {L"jre\\bin\\unpack200.exe", L"jre64\\bin\\unpack200.exe"}) {
        const PathText program = folder + bundled;
        if (FileExists(program)) {
            return program;
        }
    }
    if (std::optional<PathText> program = FindInRegisteredRuntimes(0)) {
        return program;
    }
    return FindInRegisteredRuntimes(KEY_WOW64_64KEY);
}

int PayloadExtractor::RunJarUnpacking(ExtractProgressSink* progress) {
    const std::vector<PackedJar> jars = CollectPackedJars(unpackFolders_);
    if (jars.empty()) {
        return kResultSuccess;
    }
    const std::optional<PathText> program = FindUnpackProgram(unpackFolders_.front());
    if (!program) {
        messages_.ShowError(JavaRuntimeMissingText());
        return kResultExtractionFailed;
    }
    const std::optional<PathText> logFile = TemporaryLogFile();
    if (!logFile) {
        return kResultExtractionFailed;
    }
    for (const PackedJar& jar : jars) {
        if (progress != nullptr && progress->IsCancelled()) {
            ::DeleteFileW(logFile->c_str());
            return kResultUnpackCancelled;
        }
        const PathText target = UnpackedJarPath(jar.path);
        if (progress != nullptr) {
            progress->ItemTotals(WithoutLongPathPrefix(jar.path).c_str(), 0);
        }
        const bool ran = RunHidden(*program, UnpackCommandArguments(WithoutLongPathPrefix(*logFile),
                                                                   WithoutLongPathPrefix(jar.path),
                                                                   WithoutLongPathPrefix(target)));
        if (ran && FileExists(target)) {
            ::DeleteFileW(jar.path.c_str());
            ::DeleteFileW(logFile->c_str());
            continue;
        }
        const PathText logText = ReadLog(*logFile).value_or(PathText());
        ::DeleteFileW(logFile->c_str());
        messages_.ShowError(JarUnpackFailureText(FileNameOf(target), logText));
        return kResultExtractionFailed;
    }
    return kResultSuccess;
}

}  // namespace maglorin
