#include "package_writer.h"

#include <array>
#include <fstream>
#include <system_error>

#include "entry_name_check.h"
#include "md5.h"
#include "name_text.h"
#include "package_layout.h"
#include "payload_reader.h"

namespace maglorin {

namespace {

inline constexpr std::uint64_t kLargestRecorded = 0xFFFFFFFFu;  // offsets and sizes are 32-bit
inline constexpr std::size_t kCopyBlock = 1 << 20;

bool SourceSize(const PackageSource& source, std::uint64_t& size, std::string& error) {
    if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&source)) {
        size = bytes->size();
        return true;
    }
    const auto& path = std::get<std::filesystem::path>(source);
    std::error_code failure;
    size = std::filesystem::file_size(path, failure);
    if (failure) {
        error = "cannot read '" + path.string() + "': " + failure.message();
        return false;
    }
    return true;
}

std::uint64_t EntryRecordSize(std::size_t nameUnits) { return kEntryHeaderSize + 2 * std::uint64_t{nameUnits}; }
std::uint64_t ExternalRecordSize(std::size_t nameUnits) { return kExternalHeaderSize + 2 * std::uint64_t{nameUnits}; }

// Positions of every part; false with `error` when a size or offset does not fit 32 bits.
bool PlanLayout(const PackageContents& contents, PackageLayoutInfo& layout, std::vector<std::uint64_t>& sizes,
                std::string& error) {
    std::uint64_t imageSize = 0;
    if (!SourceSize(contents.programImage, imageSize, error)) {
        return false;
    }
    layout.payloadStart = imageSize;
    std::uint64_t position = imageSize;
    sizes.clear();
    layout.entryDataPositions.clear();
    for (const PackageEntryInput& entry : contents.entries) {
        std::uint64_t size = 0;
        if (!SourceSize(entry.data, size, error)) {
            return false;
        }
        if (size > kLargestRecorded || position > kLargestRecorded) {
            error = "entry '" + PackageNameToUtf8(entry.name) + "' lies beyond the 4 GiB a package can address";
            return false;
        }
        sizes.push_back(size);
        layout.entryDataPositions.push_back(position);
        position += size;
    }
    layout.entryTablePosition = position;
    for (const PackageEntryInput& entry : contents.entries) {
        position += EntryRecordSize(entry.name.size());
    }
    layout.externalTablePosition = position;
    for (const ExternalFileRecord& record : contents.externalFiles) {
        position += ExternalRecordSize(record.name.size());
    }
    layout.footerPosition = position;
    layout.fileSize = position + kFooterSize;
    if (position > kLargestRecorded) {
        error = "the package would be larger than the 4 GiB its footer can address";
        return false;
    }
    return true;
}

// Appends to the output and hashes what it writes.
class HashingWriter {
public:
    explicit HashingWriter(std::ofstream& out) : out_(out) {}

    void Write(const void* data, std::size_t size) {
        out_.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
        md5_.Update(data, size);
    }

    bool CopySource(const PackageSource& source, std::uint64_t expectedSize, std::string& error) {
        if (const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&source)) {
            Write(bytes->data(), bytes->size());
            return true;
        }
        const auto& path = std::get<std::filesystem::path>(source);
        std::ifstream in(path, std::ios::binary);
        std::vector<char> block(kCopyBlock);
        std::uint64_t copied = 0;
        while (in) {
            in.read(block.data(), static_cast<std::streamsize>(block.size()));
            const auto got = static_cast<std::size_t>(in.gcount());
            Write(block.data(), got);
            copied += got;
        }
        if (!in.eof() || copied != expectedSize) {
            error = "cannot read '" + path.string() + "' whole (did it change while packing?)";
            return false;
        }
        return true;
    }

    std::string DigestText() { return Md5HexText(md5_.Finish()); }

private:
    std::ofstream& out_;
    Md5 md5_;
};

void WriteTables(const PackageContents& contents, const PackageLayoutInfo& layout,
                 const std::vector<std::uint64_t>& sizes, HashingWriter& writer) {
    std::vector<std::uint8_t> table;
    for (std::size_t i = 0; i < contents.entries.size(); ++i) {
        const PackageEntryInput& entry = contents.entries[i];
        EntryHeader header;
        header.group = static_cast<std::uint32_t>(entry.group);
        header.type = static_cast<std::uint32_t>(entry.type);
        header.entryFlags = entry.entryFlags;
        header.size = static_cast<std::uint32_t>(sizes[i]);
        header.dataOffset = static_cast<std::uint32_t>(layout.entryDataPositions[i]);
        header.nameLength = static_cast<std::uint32_t>(entry.name.size());
        std::array<std::uint8_t, kEntryHeaderSize> raw{};
        EncodeEntryHeader(header, raw.data());
        table.insert(table.end(), raw.begin(), raw.end());
        AppendName(entry.name, table);
    }
    for (const ExternalFileRecord& record : contents.externalFiles) {
        ExternalHeader header;
        header.type = static_cast<std::uint32_t>(record.type);
        header.nameLength = static_cast<std::uint32_t>(record.name.size());
        std::array<std::uint8_t, kExternalHeaderSize> raw{};
        EncodeExternalHeader(header, raw.data());
        table.insert(table.end(), raw.begin(), raw.end());
        AppendName(record.name, table);
    }
    writer.Write(table.data(), table.size());
}

bool WriteParts(const PackageContents& contents, const std::filesystem::path& partial, PackageLayoutInfo& layout,
                const std::vector<std::uint64_t>& sizes, std::string& error) {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot create '" + partial.string() + "'";
        return false;
    }
    HashingWriter writer(out);
    if (!writer.CopySource(contents.programImage, layout.payloadStart, error)) {
        return false;
    }
    for (std::size_t i = 0; i < contents.entries.size(); ++i) {
        if (!writer.CopySource(contents.entries[i].data, sizes[i], error)) {
            return false;
        }
    }
    WriteTables(contents, layout, sizes, writer);

    PayloadFooter footer;
    footer.externalCount = static_cast<std::uint32_t>(contents.externalFiles.size());
    footer.externalTableOffset = static_cast<std::uint32_t>(layout.externalTablePosition);
    footer.entryCount = static_cast<std::uint32_t>(contents.entries.size());
    footer.footerOffset = static_cast<std::uint32_t>(layout.footerPosition);
    footer.entryTableOffset = static_cast<std::uint32_t>(layout.entryTablePosition);
    footer.payloadStart = static_cast<std::uint32_t>(layout.payloadStart);
    footer.flags = contents.flags;
    layout.digest = writer.DigestText();
    std::copy(layout.digest.begin(), layout.digest.end(), footer.digest.digits.begin());
    std::array<std::uint8_t, kFooterSize> raw{};
    EncodeFooter(footer, raw.data());
    out.write(reinterpret_cast<const char*>(raw.data()), raw.size());
    out.close();
    if (!out) {
        error = "cannot write '" + partial.string() + "'";
        return false;
    }
    return true;
}

bool SameNameIgnoringAsciiCase(PackageNameView a, PackageNameView b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](PathChar c) { return (c >= u'A' && c <= u'Z') ? static_cast<PathChar>(c + 32) : c; };
        if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

std::string CheckNames(const PackageContents& contents) {
    for (std::size_t i = 0; i < contents.entries.size(); ++i) {
        const PackageName& name = contents.entries[i].name;
        if (!IsSafeEntryName(name)) {
            return "entry name '" + PackageNameToUtf8(name) +
                   "' is not a plain relative path (setup refuses empty, absolute, drive, device and '..' names)";
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (SameNameIgnoringAsciiCase(contents.entries[j].name, name)) {
                return "entry name '" + PackageNameToUtf8(name) + "' is used twice";
            }
        }
    }
    for (const ExternalFileRecord& record : contents.externalFiles) {
        if (!IsSafeEntryName(record.name)) {
            return "external file name '" + PackageNameToUtf8(record.name) + "' is not a plain relative path";
        }
    }
    return {};
}

std::string CheckConfigurationPlace(const PackageContents& contents) {
    if (!HasFlag(contents.flags, PackageFlags::HasConfiguration)) {
        return {};
    }
    if (HasFlag(contents.flags, PackageFlags::ConfigurationInPayload)) {
        for (const PackageEntryInput& entry : contents.entries) {
            if (entry.group == PayloadGroup::SetupFiles && entry.type == PayloadFileType::Configuration) {
                return {};
            }
        }
        return "HasConfiguration and ConfigurationInPayload need a configuration entry (group 0, type 3)";
    }
    for (const ExternalFileRecord& record : contents.externalFiles) {
        if (record.type == PayloadFileType::Configuration) {
            return {};
        }
    }
    return "HasConfiguration without ConfigurationInPayload needs an external configuration file (type 3)";
}

}  // namespace

std::string CheckPackageContents(const PackageContents& contents) {
    std::uint32_t known = 0;
    for (const PackageFlagName& flag : kPackageFlagNames) {
        known |= static_cast<std::uint32_t>(flag.flag);
    }
    if ((static_cast<std::uint32_t>(contents.flags) & ~known) != 0) {
        return "the flags hold bits that no package flag defines";
    }
    if (std::string problem = CheckNames(contents); !problem.empty()) {
        return problem;
    }
    if (std::string problem = CheckConfigurationPlace(contents); !problem.empty()) {
        return problem;
    }
    PackageLayoutInfo layout;
    std::vector<std::uint64_t> sizes;
    std::string error;
    if (!PlanLayout(contents, layout, sizes, error)) {
        return error;
    }
    if (layout.fileSize < kFooterScanChunk) {
        return "the package would be " + std::to_string(layout.fileSize) +
               " bytes; setup finds its footer only in packages of at least 1024 bytes";
    }
    return {};
}

bool WritePackage(const PackageContents& contents, const std::filesystem::path& output, PackageLayoutInfo& layout,
                  std::string& error) {
    std::vector<std::uint64_t> sizes;
    if (!PlanLayout(contents, layout, sizes, error)) {
        return false;
    }
    // Written beside the target and renamed at the end, so a failed run leaves no package that
    // looks complete.
    std::filesystem::path partial = output;
    partial += ".partial";
    std::error_code ignored;
    if (!WriteParts(contents, partial, layout, sizes, error)) {
        std::filesystem::remove(partial, ignored);
        return false;
    }
    std::error_code failure;
    std::filesystem::rename(partial, output, failure);
    if (failure) {
        error = "cannot move '" + partial.string() + "' to '" + output.string() + "': " + failure.message();
        std::filesystem::remove(partial, ignored);
        return false;
    }
    return true;
}

}  // namespace maglorin
