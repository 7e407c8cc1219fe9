// decoder-extract ARCHIVE OUTDIR [--offset N] [--size N]: unpacks a 7z archive through the
// extraction library's four exports, driven the way setup drives them, and exits with the
// library's result (0 done, 1 no archive, 2 unreadable database, 3 failed, 5 stopped).
// Problems before the library is reached: 64 for a bad command line, 66 for an archive file
// that cannot be opened, 69 for a library that cannot be loaded.
#include <cstdio>
#include <cstring>

#include "extract_command_line.h"
#include "extract_platform.h"
#include "progress_bar.h"

namespace maglorin::extract_tool {
namespace {

constexpr int kExitUsage = 64;
constexpr int kExitNoInput = 66;
constexpr int kExitNoLibrary = 69;

int Fail(int code, const std::string& reason) {
    std::fprintf(stderr, "decoder-extract: %s\n", reason.c_str());
    return code;
}

const char* InitFailureReason(std::int32_t result) {
    return result == kInitNoArchive ? "no 7z archive found in the archive window"
                                    : "the archive's database cannot be read (damaged, unsupported or encrypted)";
}

const char* ExtractFailureReason(std::int32_t result) {
    return result == kExtractStopped ? "extraction stopped (cancelled or not enough disk space)"
                                     : "extraction failed (damaged or unsupported data, a bad name, or a write error)";
}

int Extract(const ExtractCommand& command) {
    std::string error;
    const std::unique_ptr<LoadedDecoder> decoder = LoadDecoder(error);
    if (!decoder) {
        return Fail(kExitNoLibrary, error);
    }
    const std::unique_ptr<ArchiveFile> archive = OpenArchiveFile(command.archive, error);
    if (!archive) {
        return Fail(kExitNoInput, error);
    }
    if (command.offset > archive->Size()) {
        return Fail(kExitUsage, "--offset lies beyond the end of " + command.archive);
    }
    const std::optional<std::basic_string<PathChar>> folder = PrepareOutputFolder(command.outputFolder, error);
    if (!folder) {
        return Fail(kExitNoInput, error);
    }
    if (folder->size() >= static_cast<std::size_t>(kOutputFolderChars)) {
        return Fail(kExitUsage, "the output folder's path is too long");
    }

    ExtractionContext context{};
    context.archiveFile = archive->Handle();
    context.archiveOffset = command.offset;
    context.archiveSize = command.size ? *command.size : archive->Size() - command.offset;
    std::memcpy(context.outputFolder, folder->c_str(), (folder->size() + 1) * sizeof(PathChar));

    const DecoderExports& exports = decoder->Exports();
    const std::int32_t opened = exports.initExtraction(&context);
    if (opened != kInitOpened) {
        exports.endExtraction(&context);
        return Fail(opened, InitFailureReason(opened));
    }
    ProgressBar bar(stdout, OutputIsTerminal());
    context.progressSink = &bar;
    context.spaceHandler = nullptr;  // no one to ask: a full disk stops the extraction
    const std::int32_t result = exports.extractAllFiles(&context);
    bar.Close();
    exports.endExtraction(&context);
    if (result != kExtractDone) {
        return Fail(result, ExtractFailureReason(result));
    }
    return 0;
}

int Run(const std::vector<std::string>& arguments) {
    const ParseResult parsed = ParseExtractCommand(arguments);
    if (!parsed.command) {
        std::fprintf(stderr, "decoder-extract: %s\n%s\n", parsed.error.c_str(), kUsage);
        return kExitUsage;
    }
    return Extract(*parsed.command);
}

}  // namespace
}  // namespace maglorin::extract_tool

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
    return maglorin::extract_tool::Run(maglorin::extract_tool::ArgumentsFromWide(argc, argv));
}
#else
int main(int argc, char** argv) {
    return maglorin::extract_tool::Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
