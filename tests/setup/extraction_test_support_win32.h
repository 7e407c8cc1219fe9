#pragma once
// What the extraction tests under Wine share: the packages made by make_extraction_packages.sh,
// fresh work folders, file checks, and progress objects that record what they are told.

#include <windows.h>

#include <atomic>
#include <functional>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "extraction_context.h"
#include "extraction_paths.h"
#include "free_space.h"
#include "low_space_question.h"
#include "user_messages.h"

namespace maglorin::test_support {

// testdata\extraction\<name> as an absolute path.
std::filesystem::path Data(const std::string& name);

// A fresh, empty folder testdata\extraction-work\<name>, absolute, ending in '\'.
PathText FreshFolder(const std::string& name);

bool Exists(const PathText& path);
std::string ReadAll(const std::filesystem::path& path);
std::uint64_t FileSize(const PathText& path);
// Every file below folder, relative, with '\'; sorted.
std::vector<std::string> FilesBelow(const PathText& folder);

// A progress object as the status window would be: it lets the worker start when told to and
// records every operation. It can cancel at a chosen cancel query.
class RecordingProgress final : public ExtractProgressSink {
public:
    int cancelAtQuery = -1;  // the 0-based IsCancelled call that answers true (and all after it)

    void OverallStart(std::uint64_t totalBytes) override { overallTotal = totalBytes; ++overallStarts; }
    void ReleaseStart() override { ::SetEvent(static_cast<HANDLE>(startEvent)); }
    void Finish() override { ++finishes; }
    void AttachStartSignal(void* event) override { startEvent = event; }
    void BeginItem(const PathChar* text, std::int32_t number) override;
    void SetTotal(std::uint64_t totalBytes) override { lastTotal = totalBytes; }
    bool SetCompleted(std::uint64_t bytesDone) override;
    bool IsCancelled() override;
    void ItemTotals(const PathChar* text, std::uint64_t) override { totals.emplace_back(text); }

    void* startEvent = nullptr;
    std::uint64_t overallTotal = 0;
    int overallStarts = 0;
    int finishes = 0;
    std::uint64_t lastTotal = 0;
    std::vector<std::pair<PathText, std::int32_t>> items;
    std::vector<PathText> totals;
    std::uint64_t completedCalls = 0;
    int cancelQueries = 0;
};

// Free bytes from a table by path prefix; a query no prefix matches is not answered.
class InjectedFreeSpace final : public FreeSpaceQuery {
public:
    std::atomic<std::uint64_t> freeBytes{0};
    std::optional<std::uint64_t> FreeBytes(PathTextView) override { return freeBytes.load(); }
};

class ScriptedPrompt final : public RetryPrompt {
public:
    std::vector<bool> answers;  // true = Retry; Cancel after the last
    std::function<void()> beforeRetry;
    int asked = 0;
    PathText lastText;
    bool AskRetry(PathTextView text) override;
};

class RecordedMessages final : public UserMessages {
public:
    std::vector<PathText> texts;
    void ShowError(PathTextView text) override { texts.emplace_back(text); }
};

}  // namespace maglorin::test_support
