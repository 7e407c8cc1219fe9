#pragma once
// What decoder-extract needs from the system: the extraction library bound by name from the
// program's own folder, the archive opened as a native handle, the output folder made absolute
// and created, and whether the output is a terminal.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "extraction_context.h"

namespace maglorin::extract_tool {

using DecoderExports = ExtractionFunctions;

// The loaded library; unloaded by its destructor.
class LoadedDecoder {
public:
    virtual ~LoadedDecoder() = default;
    virtual const DecoderExports& Exports() const = 0;
};

// Loads the library beside the running program and binds the four exports by name; empty with
// a reason in error when that fails.
std::unique_ptr<LoadedDecoder> LoadDecoder(std::string& error);

// An archive file opened for reading; closed by its destructor.
class ArchiveFile {
public:
    virtual ~ArchiveFile() = default;
    virtual NativeFileHandle Handle() const = 0;
    virtual std::uint64_t Size() const = 0;
};

std::unique_ptr<ArchiveFile> OpenArchiveFile(const std::string& path, std::string& error);

// The folder made absolute (it is created with its parents when missing), as UTF-16 ending with
// the separator; empty with a reason when it cannot be made.
std::optional<std::basic_string<PathChar>> PrepareOutputFolder(const std::string& path, std::string& error);

bool OutputIsTerminal();

}  // namespace maglorin::extract_tool

namespace maglorin::extract_tool {

#if defined(_WIN32)
// The arguments of wmain as UTF-8.
std::vector<std::string> ArgumentsFromWide(int argc, wchar_t** argv);
#endif

}  // namespace maglorin::extract_tool
