// The extraction library's four exports, called in setup's order, over an archive window that
// lies at an offset inside a larger file. The output goes into a fresh folder deep inside the
// scratch folder; anything that appears in the scratch folder outside the output folder is a
// write the library must never make, and the fuzzer is stopped on it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "extraction_context.h"
#include "fuzz_scratch.h"

extern "C" {
std::int32_t InitExtraction(maglorin::ExtractionContext* context);
std::uint64_t GetTotalFilesSize(maglorin::ExtractionContext* context);
std::int32_t ExtractAllFiles(maglorin::ExtractionContext* context);
std::int32_t EndExtraction(maglorin::ExtractionContext* context);
}

namespace {

namespace fs = std::filesystem;
using namespace maglorin;

// Bytes before the window, so window and file positions differ.
constexpr std::size_t kWindowOffset = 37;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Cancels nothing; counts what it is told, so the calls are made and checked for sanity.
class CountingSink final : public ExtractProgressSink {
public:
    void OverallStart(std::uint64_t) override { std::abort(); }
    void Unused1() override { std::abort(); }
    void ReleaseStart() override { std::abort(); }
    void Finish() override { std::abort(); }
    void AttachStartSignal(void*) override { std::abort(); }
    void BeginItem(const PathChar*, std::int32_t) override { std::abort(); }
    void Unused2() override { std::abort(); }
    void SetTotal(std::uint64_t) override { ++totals; }
    bool SetCompleted(std::uint64_t) override { return false; }
    bool IsCancelled() override { return false; }
    void ItemTotals(const PathChar*, std::uint64_t) override { std::abort(); }
    int totals = 0;
};

// Every write lands below the output folder: the scratch folder holds the archive file and the
// chain of folders leading to the output folder, and nothing else.
void CheckNothingOutside(const fs::path& scratch, const fs::path& output) {
    for (auto it = fs::recursive_directory_iterator(scratch); it != fs::recursive_directory_iterator(); ++it) {
        const fs::path& path = it->path();
        if (path == output) {
            it.disable_recursion_pending();
            continue;
        }
        const std::string relative = fs::relative(path, scratch).string();
        const bool allowed = relative == "archive.bin" || relative == "box" || relative == "box/deep" ||
                             relative == "box/deep/er" || relative == "box/deep/er/still";
        Require(allowed && (relative == "archive.bin" || it->is_directory()));
    }
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

std::uint64_t Get64(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Mutations rarely keep the headers' CRCs right, and a wrong CRC stops the reader at once: the
// harness writes both CRCs again, so the mutated database itself reaches the reader and the
// library. (The CRC checks themselves are covered by the seeds and the decoder tests.)
void RepairHeaderCrcs(std::uint8_t* archive, std::size_t size) {
    static constexpr std::uint8_t kSignature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
    if (size < 32 || std::memcmp(archive, kSignature, sizeof kSignature) != 0) {
        return;
    }
    const std::uint64_t offset = Get64(archive + 12);
    const std::uint64_t length = Get64(archive + 20);
    if (offset <= size - 32 && length <= size - 32 - offset) {
        Put32(archive + 28, Crc32(archive + 32 + offset, static_cast<std::size_t>(length)));
    }
    Put32(archive + 8, Crc32(archive + 12, 20));
}

std::basic_string<PathChar> ContextFolder(const fs::path& output) {
    const std::string text = output.string() + "/";
    return std::basic_string<PathChar>(text.begin(), text.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> file(kWindowOffset, 0x5A);
    file.insert(file.end(), data, data + size);
    RepairHeaderCrcs(file.data() + kWindowOffset, size);
    const fs::path archive = test_support::WriteScratchFile("archive.bin", file.data(), file.size());
    const fs::path output = test_support::ScratchFolder() / "box" / "deep" / "er" / "still" / "out";
    std::error_code error;
    fs::remove_all(output, error);
    fs::create_directories(output, error);
    Require(!error);

    const int handle = ::open(archive.c_str(), O_RDONLY);
    Require(handle >= 0);
    ExtractionContext context;
    std::memset(&context, 0, sizeof context);
    context.archiveFile = handle;
    context.archiveOffset = kWindowOffset;
    context.archiveSize = size;
    const std::basic_string<PathChar> folder = ContextFolder(output);
    Require(folder.size() < static_cast<std::size_t>(kOutputFolderChars));
    std::copy(folder.begin(), folder.end(), context.outputFolder);

    CountingSink sink;
    const std::int32_t init = InitExtraction(&context);
    Require(init == kInitOpened || init == kInitNoArchive || init == kInitBadDatabase);
    if (init == kInitOpened) {
        (void)GetTotalFilesSize(&context);
        context.progressSink = &sink;
        const std::int32_t extract = ExtractAllFiles(&context);
        Require(extract == kExtractDone || extract == kExtractFailed || extract == kExtractStopped);
        Require(sink.totals <= 1);
    }
    Require(EndExtraction(&context) == 0 && context.state == nullptr);
    ::close(handle);
    CheckNothingOutside(test_support::ScratchFolder(), output);
    return 0;
}
