#pragma once
// setup.ini: UTF-16LE text in sections of key/value lines. Lookups are exact, case-sensitive and
// return the first match; duplicate sections and keys are kept in file order.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace maglorin {

// Results of loading, in the setup's own numbering.
inline constexpr int kConfigurationLoaded = 0;
inline constexpr int kConfigurationReadError = 2;    // shown as a read error
inline constexpr int kConfigurationOutOfMemory = 3;

struct ConfigurationEntry {
    std::u16string key;
    std::u16string value;
};

struct ConfigurationSection {
    std::u16string name;
    std::vector<ConfigurationEntry> entries;

    const std::u16string* FindKey(std::u16string_view key) const;  // null when absent
};

class ConfigurationFile {
public:
    // The whole source as stored: two bytes of byte-order mark (skipped unread), then UTF-16LE
    // text. A trailing odd byte is ignored. Never fails.
    static ConfigurationFile Parse(std::span<const std::byte> source);
    // The same for an entry's data as the package reader hands it out.
    static ConfigurationFile Parse(std::span<const std::uint8_t> source) { return Parse(std::as_bytes(source)); }

    const ConfigurationSection* FindSection(std::u16string_view name) const;  // null when absent
    const std::u16string* FindKey(std::u16string_view section, std::u16string_view key) const;

    const std::vector<ConfigurationSection>& Sections() const { return sections_; }

private:
    std::vector<ConfigurationSection> sections_;
};

// Reads `size` bytes at `offset` of a file (the configuration entry inside the package, or the
// whole setup.ini beside it) and parses them. Returns kConfigurationLoaded, kConfigurationReadError
// when the file cannot be opened or does not hold that window (or holds less than the byte-order
// mark), kConfigurationOutOfMemory when the text does not fit in memory.
[[nodiscard]] int LoadConfigurationFile(const std::filesystem::path& file, std::uint64_t offset, std::uint64_t size,
                          ConfigurationFile& configuration);

// The whole file from its first byte.
[[nodiscard]] int LoadConfigurationFile(const std::filesystem::path& file, ConfigurationFile& configuration);

}  // namespace maglorin
