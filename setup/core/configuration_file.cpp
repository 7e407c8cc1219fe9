#include "configuration_file.h"

#include <cstdint>
#include <fstream>
#include <new>
#include <system_error>

namespace maglorin {

namespace {

constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr std::size_t kByteOrderMarkBytes = 2;

// Leading characters of a line at or below this code are skipped.
[[nodiscard]] bool IsControlOrBlank(char16_t c) { return c <= 32; }

// What keys and values lose at both ends.
[[nodiscard]] bool IsWhiteSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

std::u16string_view TrimWhiteSpace(std::u16string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::u16string DecodeUtf16Le(std::span<const std::byte> bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(std::to_integer<unsigned>(bytes[2 * i]) |
                                        (std::to_integer<unsigned>(bytes[2 * i + 1]) << 8));
    }
    return text;
}

// Lines end at carriage-return/line-feed pairs only; a lone CR or LF stays in its line.
std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find(u"\r\n"); end != std::u16string_view::npos;
         end = text.find(u"\r\n", start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    lines.push_back(text.substr(start));
    return lines;
}

// "[name]" with anything up to code 32 after the bracket; the name is kept untrimmed.
[[nodiscard]] bool ReadSectionHeader(std::u16string_view line, std::u16string& name) {
    if (line.empty() || line.front() != u'[') return false;
    std::size_t last = line.size();
    while (last > 0 && IsControlOrBlank(line[last - 1])) --last;
    if (last == 0 || line[last - 1] != u']') return false;
    name.assign(line.substr(1, last - 2));
    return true;
}

void ParseLine(std::u16string_view line, std::vector<ConfigurationSection>& sections) {
    while (!line.empty() && IsControlOrBlank(line.front())) line.remove_prefix(1);
    if (line.empty()) return;
    std::u16string name;
    if (ReadSectionHeader(line, name)) {
        sections.push_back(ConfigurationSection{std::move(name), {}});
        return;
    }
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return;
    if (sections.empty()) return;  // a key before the first header has no section to go to
    sections.back().entries.push_back(
        ConfigurationEntry{std::u16string(TrimWhiteSpace(line.substr(0, equals))),
                           std::u16string(TrimWhiteSpace(line.substr(equals + 1)))});
}

}  // namespace

const std::u16string* ConfigurationSection::FindKey(std::u16string_view key) const {
    for (const ConfigurationEntry& entry : entries) {
        if (entry.key == key) return &entry.value;
    }
    return nullptr;
}

ConfigurationFile ConfigurationFile::Parse(std::span<const std::byte> source) {
    ConfigurationFile file;
    if (source.size() < kByteOrderMarkBytes) return file;
    const std::u16string text = DecodeUtf16Le(source.subspan(kByteOrderMarkBytes));
    std::vector<std::u16string_view> lines = SplitLines(text);
    if (!lines.front().empty() && lines.front().front() == kByteOrderMark) {
        lines.front().remove_prefix(1);  // a second mark written as text
    }
    for (std::u16string_view line : lines) ParseLine(line, file.sections_);
    return file;
}

const ConfigurationSection* ConfigurationFile::FindSection(std::u16string_view name) const {
    for (const ConfigurationSection& section : sections_) {
        if (section.name == name) return &section;
    }
    return nullptr;
}

const std::u16string* ConfigurationFile::FindKey(std::u16string_view section,
                                                 std::u16string_view key) const {
    const ConfigurationSection* found = FindSection(section);
    return found != nullptr ? found->FindKey(key) : nullptr;
}

[[nodiscard]] int LoadConfigurationFile(const std::filesystem::path& file, std::uint64_t offset, std::uint64_t size,
                          ConfigurationFile& configuration) {
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(file, error);
    if (error || size < kByteOrderMarkBytes || offset > fileSize || size > fileSize - offset) {
        return kConfigurationReadError;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return kConfigurationReadError;
    if (size > SIZE_MAX) return kConfigurationOutOfMemory;
    std::vector<std::byte> bytes;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return kConfigurationOutOfMemory;
    } catch (const std::length_error&) {
        return kConfigurationOutOfMemory;
    }
    in.seekg(static_cast<std::streamoff>(offset));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in || static_cast<std::uint64_t>(in.gcount()) != size) return kConfigurationReadError;
    try {
        configuration = ConfigurationFile::Parse(bytes);
    } catch (const std::bad_alloc&) {
        return kConfigurationOutOfMemory;
    }
    return kConfigurationLoaded;
}

[[nodiscard]] int LoadConfigurationFile(const std::filesystem::path& file, ConfigurationFile& configuration) {
    std::error_code error;
    const std::uintmax_t fileSize = std::filesystem::file_size(file, error);
    if (error) return kConfigurationReadError;
    return LoadConfigurationFile(file, 0, fileSize, configuration);
}

}  // namespace maglorin
