#include "extract_command_line.h"

namespace maglorin::extract_tool {
namespace {

// Decimal digits only, no sign, no overflow.
std::optional<std::uint64_t> ParseByteCount(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
        if (value > (UINT64_MAX - digit) / 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

}  // namespace

ParseResult ParseExtractCommand(const std::vector<std::string>& arguments) {
    ExtractCommand command;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--offset" || argument == "--size") {
            if (i + 1 >= arguments.size()) {
                return {std::nullopt, argument + " needs a byte count"};
            }
            const std::optional<std::uint64_t> value = ParseByteCount(arguments[++i]);
            if (!value) {
                return {std::nullopt, argument + " takes a decimal byte count, not '" + arguments[i] + "'"};
            }
            if (argument == "--offset") {
                command.offset = *value;
            } else {
                command.size = *value;
            }
        } else if (argument.starts_with("--")) {
            return {std::nullopt, "unknown option " + argument};
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2) {
        return {std::nullopt, kUsage};
    }
    command.archive = positional[0];
    command.outputFolder = positional[1];
    return {command, {}};
}

}  // namespace maglorin::extract_tool
