#include "extraction_test_support_win32.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace maglorin::test_support {

std::filesystem::path Data(const std::string& name) {
    return std::filesystem::absolute(std::filesystem::path(L"testdata\\extraction") / name);
}

PathText FreshFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::absolute(std::filesystem::path(L"testdata\\extraction-work") / name);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder.wstring() + L"\\";
}

bool Exists(const PathText& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::uint64_t FileSize(const PathText& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

std::vector<std::string> FilesBelow(const PathText& folder) {
    std::vector<std::string> files;
    const std::filesystem::path root(WithoutLongPathPrefix(folder));
    if (!std::filesystem::exists(root)) return files;
    for (const auto& item : std::filesystem::recursive_directory_iterator(root)) {
        if (item.is_regular_file()) {
            std::string relative = std::filesystem::relative(item.path(), root).string();
            std::replace(relative.begin(), relative.end(), '/', '\\');
            files.push_back(relative);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

void RecordingProgress::BeginItem(const PathChar* text, std::int32_t number) { items.emplace_back(text, number); }

bool RecordingProgress::SetCompleted(std::uint64_t) {
    ++completedCalls;
    return false;
}

bool RecordingProgress::IsCancelled() {
    const int query = cancelQueries++;
    return cancelAtQuery >= 0 && query >= cancelAtQuery;
}

bool ScriptedPrompt::AskRetry(PathTextView text) {
    lastText = PathText(text);
    const std::size_t index = static_cast<std::size_t>(asked++);
    const bool retry = index < answers.size() && answers[index];
    if (retry && beforeRetry) beforeRetry();
    return retry;
}

}  // namespace maglorin::test_support
