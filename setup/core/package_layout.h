#pragma once
// Byte encoding of the package records. The reader and the packer share these routines, so the
// layout is written down once.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "package_records.h"

namespace maglorin {

std::uint32_t ReadLittleEndian32(const std::uint8_t* bytes);
void WriteLittleEndian32(std::uint32_t value, std::uint8_t* bytes);

// The 24-byte header of a PayloadEntry as it stands on disk (offset not yet corrected).
struct EntryHeader {
    std::uint32_t group = 0;
    std::uint32_t type = 0;
    std::uint32_t entryFlags = 0;
    std::uint32_t size = 0;
    std::uint32_t dataOffset = 0;
    std::uint32_t nameLength = 0;  // UTF-16 code units
};

// The 8-byte header of an ExternalFileRecord.
struct ExternalHeader {
    std::uint32_t type = 0;
    std::uint32_t nameLength = 0;  // UTF-16 code units
};

[[nodiscard]] bool HasPayloadMagic(const std::uint8_t* bytes);  // the 10 magic bytes at bytes[0..9]

// footer: kFooterSize bytes. Decoding does not judge the magic or the version.
void EncodeFooter(const PayloadFooter& footer, std::uint8_t* bytes);
PayloadFooter DecodeFooter(const std::uint8_t* bytes);

void EncodeEntryHeader(const EntryHeader& header, std::uint8_t* bytes);
EntryHeader DecodeEntryHeader(const std::uint8_t* bytes);
void EncodeExternalHeader(const ExternalHeader& header, std::uint8_t* bytes);
ExternalHeader DecodeExternalHeader(const std::uint8_t* bytes);

// Names: UTF-16LE code units, 2 bytes each, no terminator.
void AppendName(PackageNameView name, std::vector<std::uint8_t>& out);
PackageName DecodeName(const std::uint8_t* bytes, std::size_t units);

}  // namespace maglorin
