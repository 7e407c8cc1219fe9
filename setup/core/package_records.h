#pragma once
// The records of setup's package file: the footer at its end, the entry table, the table of files
// that lie beside setup, and the vocabulary of groups, file types and package flags.
// All integers on disk are unsigned 32-bit little-endian; names are UTF-16LE without terminator.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "extraction_context.h"  // PathChar: one UTF-16 code unit

namespace maglorin {

using PackageName = std::basic_string<PathChar>;
using PackageNameView = std::basic_string_view<PathChar>;

// Groups are the unit of extraction. Ids from 100 up are one group per prerequisite or other
// separately extractable set of files; the enumeration holds any 32-bit id read from a package.
enum class PayloadGroup : std::uint32_t {
    SetupFiles = 0,          // read in place or by setup itself (the configuration file)
    PlainDatabase = 1,       // the main package stored as a plain installer database
    ExtractionLibrary = 2,   // decoder.dll
    CompressedDatabase = 3,  // the main package stored in a 7z archive
    FirstSeparate = 100,
};

enum class PayloadFileType : std::uint32_t {
    PlainDatabase = 0,        // main installer database, copied out
    Configuration = 3,        // setup.ini, UTF-16LE with byte-order mark
    PlainPrerequisite = 4,    // prerequisite stored plain, looked up by name
    ProductArchive = 6,       // FILES.7z
    DatabaseArchive = 7,      // 7z archive of the installer database(s) and transform(s)
    ExtractionLibrary = 8,    // decoder.dll itself
    PrerequisiteArchive = 9,  // prerequisite stored as a 7z archive, looked up by name
    FurtherArchive = 10,
    FileOnRequest = 11,       // copied out on request by name
    LanguageLibrary = 12,     // "<language id>.dll"
};

enum class PackageFlags : std::uint32_t {
    None = 0,
    FilesBesideSetup = 0x001,
    HasConfiguration = 0x002,
    VerifyDigest = 0x004,
    DatabaseInArchive = 0x008,
    ExtractOnRequest = 0x010,
    AskLanguage = 0x020,
    BesideFilesCompressed = 0x040,
    MainIsPatch = 0x080,
    UserLanguageFirst = 0x100,
    ConfigurationInPayload = 0x200,
};

constexpr PackageFlags operator|(PackageFlags a, PackageFlags b) {
    return static_cast<PackageFlags>(static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b));
}
[[nodiscard]] constexpr bool HasFlag(PackageFlags flags, PackageFlags flag) {
    return (static_cast<std::uint32_t>(flags) & static_cast<std::uint32_t>(flag)) != 0;
}

struct PackageFlagName {
    PackageFlags flag;
    std::string_view name;
};
// Every defined flag with its name, lowest bit first.
inline constexpr std::array<PackageFlagName, 10> kPackageFlagNames = {{
    {PackageFlags::FilesBesideSetup, "FilesBesideSetup"},
    {PackageFlags::HasConfiguration, "HasConfiguration"},
    {PackageFlags::VerifyDigest, "VerifyDigest"},
    {PackageFlags::DatabaseInArchive, "DatabaseInArchive"},
    {PackageFlags::ExtractOnRequest, "ExtractOnRequest"},
    {PackageFlags::AskLanguage, "AskLanguage"},
    {PackageFlags::BesideFilesCompressed, "BesideFilesCompressed"},
    {PackageFlags::MainIsPatch, "MainIsPatch"},
    {PackageFlags::UserLanguageFirst, "UserLanguageFirst"},
    {PackageFlags::ConfigurationInPayload, "ConfigurationInPayload"},
}};

inline constexpr std::uint32_t kEntryKeepFlag = 0x1;  // keep the file after the installation

// The MD5 of the package without its footer, as 32 ASCII hexadecimal digits.
struct PackageDigest {
    std::array<char, 32> digits{};
    std::string Text() const { return std::string(digits.data(), digits.size()); }
};

inline constexpr std::uint32_t kPayloadFormatVersion = 100;
inline constexpr std::string_view kPayloadMagic = "TORVEXASFX";
inline constexpr std::size_t kFooterSize = 76;
inline constexpr std::size_t kMagicOffsetInFooter = 64;
inline constexpr std::size_t kEntryHeaderSize = 24;
inline constexpr std::size_t kExternalHeaderSize = 8;

// The fixed-size trailer; offsets are as the packer recorded them.
struct PayloadFooter {
    std::uint32_t externalCount = 0;
    std::uint32_t externalTableOffset = 0;
    std::uint32_t entryCount = 0;
    std::uint32_t formatVersion = kPayloadFormatVersion;
    std::uint32_t footerOffset = 0;
    std::uint32_t entryTableOffset = 0;
    std::uint32_t payloadStart = 0;
    PackageDigest digest;
    PackageFlags flags = PackageFlags::None;
};

struct PayloadEntry {
    PayloadGroup group = PayloadGroup::SetupFiles;
    PayloadFileType type = PayloadFileType::PlainDatabase;
    std::uint32_t entryFlags = 0;
    std::uint32_t size = 0;          // bytes
    std::uint64_t dataOffset = 0;    // in the file as it is now (displacement applied)
    PackageName name;                // relative path below the extraction folder, '\' separated
    bool extracted = false;          // in memory only: the data has been copied out

    [[nodiscard]] bool KeepAfterInstall() const { return (entryFlags & kEntryKeepFlag) != 0; }
};

struct ExternalFileRecord {
    PayloadFileType type = PayloadFileType::PlainDatabase;
    PackageName name;  // relative to the folder that holds setup
};

}  // namespace maglorin
