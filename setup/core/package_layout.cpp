#include "package_layout.h"

#include <algorithm>
#include <cstring>

namespace maglorin {

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void WriteLittleEndian32(std::uint32_t value, std::uint8_t* bytes) {
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
    bytes[2] = static_cast<std::uint8_t>(value >> 16);
    bytes[3] = static_cast<std::uint8_t>(value >> 24);
}

[[nodiscard]] bool HasPayloadMagic(const std::uint8_t* bytes) {
    return std::memcmp(bytes, kPayloadMagic.data(), kPayloadMagic.size()) == 0;
}

void EncodeFooter(const PayloadFooter& footer, std::uint8_t* bytes) {
    std::fill(bytes, bytes + kFooterSize, std::uint8_t{0});
    WriteLittleEndian32(footer.externalCount, bytes + 0);
    WriteLittleEndian32(footer.externalTableOffset, bytes + 4);
    WriteLittleEndian32(footer.entryCount, bytes + 8);
    WriteLittleEndian32(footer.formatVersion, bytes + 12);
    WriteLittleEndian32(footer.footerOffset, bytes + 16);
    WriteLittleEndian32(footer.entryTableOffset, bytes + 20);
    WriteLittleEndian32(footer.payloadStart, bytes + 24);
    std::memcpy(bytes + 28, footer.digest.digits.data(), footer.digest.digits.size());
    WriteLittleEndian32(static_cast<std::uint32_t>(footer.flags), bytes + 60);
    std::memcpy(bytes + kMagicOffsetInFooter, kPayloadMagic.data(), kPayloadMagic.size());
}

PayloadFooter DecodeFooter(const std::uint8_t* bytes) {
    PayloadFooter footer;
    footer.externalCount = ReadLittleEndian32(bytes + 0);
    footer.externalTableOffset = ReadLittleEndian32(bytes + 4);
    footer.entryCount = ReadLittleEndian32(bytes + 8);
    footer.formatVersion = ReadLittleEndian32(bytes + 12);
    footer.footerOffset = ReadLittleEndian32(bytes + 16);
    footer.entryTableOffset = ReadLittleEndian32(bytes + 20);
    footer.payloadStart = ReadLittleEndian32(bytes + 24);
    std::memcpy(footer.digest.digits.data(), bytes + 28, footer.digest.digits.size());
    footer.flags = static_cast<PackageFlags>(ReadLittleEndian32(bytes + 60));
    return footer;
}

void EncodeEntryHeader(const EntryHeader& header, std::uint8_t* bytes) {
    WriteLittleEndian32(header.group, bytes + 0);
    WriteLittleEndian32(header.type, bytes + 4);
    WriteLittleEndian32(header.entryFlags, bytes + 8);
    WriteLittleEndian32(header.size, bytes + 12);
    WriteLittleEndian32(header.dataOffset, bytes + 16);
    WriteLittleEndian32(header.nameLength, bytes + 20);
}

EntryHeader DecodeEntryHeader(const std::uint8_t* bytes) {
    EntryHeader header;
    header.group = ReadLittleEndian32(bytes + 0);
    header.type = ReadLittleEndian32(bytes + 4);
    header.entryFlags = ReadLittleEndian32(bytes + 8);
    header.size = ReadLittleEndian32(bytes + 12);
    header.dataOffset = ReadLittleEndian32(bytes + 16);
    header.nameLength = ReadLittleEndian32(bytes + 20);
    return header;
}

void EncodeExternalHeader(const ExternalHeader& header, std::uint8_t* bytes) {
    WriteLittleEndian32(header.type, bytes + 0);
    WriteLittleEndian32(header.nameLength, bytes + 4);
}

ExternalHeader DecodeExternalHeader(const std::uint8_t* bytes) {
    ExternalHeader header;
    header.type = ReadLittleEndian32(bytes + 0);
    header.nameLength = ReadLittleEndian32(bytes + 4);
    return header;
}

void AppendName(PackageNameView name, std::vector<std::uint8_t>& out) {
    for (PathChar unit : name) {
        auto value = static_cast<std::uint16_t>(unit);
        out.push_back(static_cast<std::uint8_t>(value));
        out.push_back(static_cast<std::uint8_t>(value >> 8));
    }
}

PackageName DecodeName(const std::uint8_t* bytes, std::size_t units) {
    PackageName name(units, PathChar{});
    for (std::size_t i = 0; i < units; ++i) {
        auto value = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        name[i] = static_cast<PathChar>(value);
    }
    return name;
}

}  // namespace maglorin
