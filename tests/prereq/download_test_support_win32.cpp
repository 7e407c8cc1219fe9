#include "download_test_support_win32.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "download_job_win32.h"
#include "win32_handles.h"
#include "wide_text.h"

namespace maglorin::test_support {
namespace {

// A Linux path as Wine sees it through drive Z:.
std::string WinePath(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

void RemoveTree(const std::u16string& folder) {
    WIN32_FIND_DATAW entry{};
    FindHandle find(::FindFirstFileW(WideText(folder + u"\\*"), &entry));
    if (find) {
        do {
            const std::u16string name(reinterpret_cast<const char16_t*>(entry.cFileName));
            if (name == u"." || name == u"..") {
                continue;
            }
            const std::u16string path = folder + u"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                ::DeleteFileW(WideText(path));
            }
        } while (::FindNextFileW(find.Get(), &entry));
    }
    find.Reset();
    ::RemoveDirectoryW(WideText(folder));
}

}  // namespace

bool ReadServerPorts(ServerPorts& ports) {
    const char* folder = std::getenv("MAGLORIN_DOWNLOAD_SERVERS");
    if (folder == nullptr) {
        return false;
    }
    std::ifstream in(WinePath(std::string(folder) + "/ports"));
    std::string name;
    int port = 0;
    while (in >> name >> port) {
        if (name == "http") ports.http = port;
        if (name == "https") ports.https = port;
        if (name == "test") ports.test = port;
        if (name == "ftp") ports.ftp = port;
        if (name == "ftpnorest") ports.ftpNoRest = port;
    }
    return ports.http && ports.https && ports.test && ports.ftp && ports.ftpNoRest;
}

std::vector<std::uint8_t> PatternBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF);
    }
    return bytes;
}

std::u16string Text(const std::string& text) { return std::u16string(text.begin(), text.end()); }

std::u16string Url(const char* scheme, int port, const std::string& path) {
    return Text(std::string(scheme) + "://127.0.0.1:" + std::to_string(port) + path);
}

ScratchFolder::ScratchFolder(const std::string& name) {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = reinterpret_cast<const char16_t*>(temp);
    folder_ += u"maglorin-download-" + Text(name);
    RemoveTree(folder_);
    ::CreateDirectoryW(WideText(folder_), nullptr);
}

ScratchFolder::~ScratchFolder() { RemoveTree(folder_); }

std::u16string ScratchFolder::Path(const std::string& file) const { return folder_ + u"\\" + Text(file); }

bool ReadWholeFile(const std::u16string& path, std::vector<std::uint8_t>& bytes) {
    FileHandle file(::CreateFileW(WideText(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size)) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    return bytes.empty() ||
           (::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
}

bool WriteWholeFile(const std::u16string& path, const std::vector<std::uint8_t>& bytes) {
    FileHandle file(::CreateFileW(WideText(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

bool FileExists(const std::u16string& path) { return ::GetFileAttributesW(WideText(path)) != INVALID_FILE_ATTRIBUTES; }

int TestServerCount(int port, const std::string& path) {
    ScratchFolder folder("count");
    DownloadSettings settings;
    settings.address = Url("http", port, "/count?p=" + path);
    settings.localPath = folder.Path("count.txt");
    settings.resume = false;
    DownloadJob job(settings);
    std::vector<std::uint8_t> bytes;
    if (job.Start() != kDownloadSuccess || !ReadWholeFile(settings.localPath, bytes)) {
        return -1;
    }
    return std::atoi(std::string(bytes.begin(), bytes.end()).c_str());
}

void RecordingSink::OnStart(std::uint32_t total, const std::u16string&) {
    std::lock_guard<std::mutex> hold(lock);
    ++starts;
    startTotal = total;
}

void RecordingSink::OnFinished(bool success) {
    std::lock_guard<std::mutex> hold(lock);
    finishedTrue += success ? 1 : 0;
}

void RecordingSink::OnState(DownloadState state) {
    std::lock_guard<std::mutex> hold(lock);
    states.push_back(static_cast<int>(state));
}

void RecordingSink::OnProgress(std::uint32_t bytes) {
    std::lock_guard<std::mutex> hold(lock);
    if (!progress.empty()) {
        received += bytes;
    }
    progress.push_back(bytes);
}

bool RecordingSink::IsCancelled() { return cancelAfterBytes != 0 && received.load() >= cancelAfterBytes; }

bool RecordingSink::IsPaused() {
    if (paused.load()) {
        ++pausedPolls;
        return true;
    }
    return false;
}

void RecordingSink::OnError(DownloadResult code) {
    std::lock_guard<std::mutex> hold(lock);
    errors.push_back(code);
}

bool TestPrompt::Find(const std::u16string&, const std::u16string&, Credentials& given) {
    if (hasStored) {
        ++found;
        given = stored;
    }
    return hasStored;
}

bool TestPrompt::Ask(const std::u16string& server, const std::u16string& realm, const void*, Credentials& given) {
    ++asked;
    askedServer = server;
    askedRealm = realm;
    if (answers) {
        given = answer;
    }
    return answers;
}

void TestPrompt::Remember(const std::u16string&, const std::u16string&, const Credentials&) { ++remembered; }

}  // namespace maglorin::test_support
