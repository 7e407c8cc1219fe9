#include "command_options.h"

#include <algorithm>
#include <array>

namespace maglorin {

namespace {

constexpr std::array<CommandOption, 17> kCommandOptions = {{
    {u"/?", OptionValueKind::None, OptionId::Help, true},
    {u"/help", OptionValueKind::None, OptionId::Help, true},
    {u"/extract:", OptionValueKind::Quoted, OptionId::Extract, true},
    // A restarted copy: its command line carries the interface options and the tail of the
    // original run behind this one, so the scan goes on (see RestartCommandLine).
    {u"/OriginalPath:", OptionValueKind::Quoted, OptionId::OriginalPath, false},
    {u"/extractlzma", OptionValueKind::None, OptionId::ExtractMainPackage, true},
    {u"/deletelzma", OptionValueKind::None, OptionId::DeleteMainPackage, true},
    {u"/extract", OptionValueKind::Quoted, OptionId::Extract, true},
    {u"/exenoui", OptionValueKind::None, OptionId::NoUi, false},
    {u"/exebasicui", OptionValueKind::None, OptionId::BasicUi, false},
    {u"/exelang", OptionValueKind::Word, OptionId::Language, false},
    {u"/listlangs", OptionValueKind::None, OptionId::ListLanguages, true},
    {u"/groupsextract:", OptionValueKind::Quoted, OptionId::GroupsExtract, false},
    {u"/callbackid:", OptionValueKind::Word, OptionId::CallbackId, false},
    {u"/out:", OptionValueKind::Quoted, OptionId::Out, false},
    {u"/username:", OptionValueKind::Quoted, OptionId::ProxyUserName, false},
    {u"/password:", OptionValueKind::Quoted, OptionId::ProxyPassword, false},
    {u"/exelog:", OptionValueKind::Quoted, OptionId::Log, false},
}};

std::size_t SkipBlanks(std::u16string_view text, std::size_t at) {
    while (at < text.size() && text[at] == u' ') ++at;
    return at;
}

std::size_t NextBlankOrEnd(std::u16string_view text, std::size_t at) {
    const std::size_t blank = text.find(u' ', at);
    return blank == std::u16string_view::npos ? text.size() : blank;
}

// Reads the value that starts at `at`; returns the position just after the option.
std::size_t ReadValue(std::u16string_view text, std::size_t at, OptionValueKind kind, std::u16string& value) {
    if (kind == OptionValueKind::None) return at;
    at = SkipBlanks(text, at);
    if (kind == OptionValueKind::Quoted && at < text.size() && text[at] == u'"') {
        const std::size_t close = text.find(u'"', at + 1);
        if (close == std::u16string_view::npos) {
            value.assign(text.substr(at + 1));
            return text.size();
        }
        value.assign(text.substr(at + 1, close - at - 1));
        return close + 1;
    }
    const std::size_t end = NextBlankOrEnd(text, at);
    value.assign(text.substr(at, end - at));
    return end;
}

}  // namespace

std::span<const CommandOption> CommandOptionTable() { return kCommandOptions; }

const FoundOption* ParsedCommandLine::Find(OptionId id) const {
    const auto it = std::find_if(options.begin(), options.end(), [id](const FoundOption& o) { return o.id == id; });
    return it == options.end() ? nullptr : &*it;
}

ParsedCommandLine ParseCommandLine(std::u16string_view commandLine) {
    ParsedCommandLine parsed;
    const std::size_t start = SkipBlanks(commandLine, 0);
    std::optional<std::size_t> lastEnd;
    for (const CommandOption& row : kCommandOptions) {
        const std::size_t found = commandLine.find(row.text, start);
        if (found == std::u16string_view::npos) continue;
        FoundOption option{row.id, {}};
        const std::size_t end = ReadValue(commandLine, found + row.text.size(), row.kind, option.value);
        parsed.options.push_back(std::move(option));
        lastEnd = std::max(lastEnd.value_or(0), end);
        if (row.stopsScan) break;
    }
    parsed.tail.assign(lastEnd ? commandLine.substr(*lastEnd) : commandLine);
    return parsed;
}

std::vector<std::u16string> SplitArguments(std::u16string_view commandLine) {
    std::vector<std::u16string> arguments;
    std::size_t at = SkipBlanks(commandLine, 0);
    while (at < commandLine.size()) {
        std::size_t end = 0;
        if (commandLine[at] == u'"') {
            const std::size_t close = commandLine.find(u'"', at + 1);
            end = close == std::u16string_view::npos ? commandLine.size() : close;
            arguments.emplace_back(commandLine.substr(at + 1, end - at - 1));
            end = std::min(commandLine.size(), end + 1);
        } else {
            end = NextBlankOrEnd(commandLine, at);
            arguments.emplace_back(commandLine.substr(at, end - at));
        }
        at = SkipBlanks(commandLine, end);
    }
    return arguments;
}

std::optional<RegistryLocation> IndirectCommandLineLocation(std::u16string_view commandLine) {
    const std::vector<std::u16string> arguments = SplitArguments(commandLine);
    if (arguments.size() != 2 || arguments[0] != u"/cmdloc") return std::nullopt;
    RegistryLocation location;
    if (!ParseRegistryLocation(arguments[1], location)) return std::nullopt;
    return location;
}

RunMode ChooseRunMode(const ParsedCommandLine& parsed) {
    constexpr std::array<std::pair<OptionId, RunMode>, 6> kPrecedence = {{
        {OptionId::Help, RunMode::Help},
        {OptionId::ListLanguages, RunMode::ListLanguages},
        {OptionId::Extract, RunMode::Extract},
        {OptionId::ExtractMainPackage, RunMode::ExtractMainPackage},
        {OptionId::DeleteMainPackage, RunMode::DeleteMainPackage},
        {OptionId::GroupsExtract, RunMode::GroupsExtract},
    }};
    for (const auto& [id, mode] : kPrecedence) {
        if (parsed.Has(id)) return mode;
    }
    return RunMode::Install;
}

}  // namespace maglorin
