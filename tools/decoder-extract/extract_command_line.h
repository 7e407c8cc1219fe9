#pragma once
// The command line of decoder-extract: ARCHIVE OUTDIR [--offset N] [--size N].

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace maglorin::extract_tool {

struct ExtractCommand {
    std::string archive;                // as given, UTF-8
    std::string outputFolder;           // as given, UTF-8
    std::uint64_t offset = 0;           // archive window start in the file, bytes
    std::optional<std::uint64_t> size;  // window length; the rest of the file when absent
};

struct ParseResult {
    std::optional<ExtractCommand> command;
    std::string error;  // one line, when command is empty
};

ParseResult ParseExtractCommand(const std::vector<std::string>& arguments);

inline constexpr const char* kUsage = "usage: decoder-extract ARCHIVE OUTDIR [--offset N] [--size N]";

}  // namespace maglorin::extract_tool
