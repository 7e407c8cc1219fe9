#include "payload_reader.h"

#include <array>
#include <new>

#include "entry_name_check.h"
#include "package_integrity.h"
#include "package_layout.h"

namespace maglorin {

namespace {

// Reads consecutive table records between a start position and a limit (the footer).
class TableCursor {
public:
    TableCursor(const PackageFile& file, std::uint64_t position, std::uint64_t limit)
        : file_(file), position_(position), limit_(limit) {}

    std::uint64_t Remaining() const { return limit_ - position_; }

    // 5 when the record would run into the footer, 2 when the file cannot deliver it.
    int Read(void* buffer, std::size_t count) {
        if (count > Remaining()) {
            return kResultDamagedPackage;
        }
        std::size_t got = 0;
        if (!file_.ReadAt(position_, buffer, count, got) || got != count) {
            return kResultReadError;
        }
        position_ += count;
        return kResultSuccess;
    }

    // A name of `units` UTF-16 code units; 3 when its buffer cannot be allocated.
    int ReadName(std::uint32_t units, PackageName& name) {
        const std::uint64_t bytes = std::uint64_t{units} * 2;
        if (bytes > Remaining()) {
            return kResultDamagedPackage;
        }
        try {
            std::vector<std::uint8_t> raw(static_cast<std::size_t>(bytes));
            if (int result = Read(raw.data(), raw.size()); result != kResultSuccess) {
                return result;
            }
            name = DecodeName(raw.data(), units);
        } catch (const std::bad_alloc&) {
            return kResultOutOfMemory;
        }
        return kResultSuccess;
    }

private:
    const PackageFile& file_;
    std::uint64_t position_;
    std::uint64_t limit_;
};

// Distance from the end of the file of scan chunk k (1, 2, ...): consecutive chunks overlap by
// 20 bytes between the first two and by 10 bytes after that, so every magic that starts at least
// 11 bytes before the end is seen whole in some chunk.
std::uint64_t ChunkDistanceFromEnd(std::uint64_t k) {
    return k == 1 ? kFooterScanChunk : kFooterScanChunk * k - 10 * k;
}

inline constexpr std::size_t kLastMagicStart = kFooterScanChunk - 11;  // 1013

}  // namespace

int PayloadReader::Open(const std::filesystem::path& packagePath) {
    const int result = OpenSteps(packagePath);
    if (result != kResultSuccess) {
        file_.Close();
        entries_.clear();
        externalFiles_.clear();
        externalFilesLoaded_ = false;
    }
    return result;
}

int PayloadReader::OpenSteps(const std::filesystem::path& packagePath) {
    opened_ = false;
    externalFilesLoaded_ = false;
    entries_.clear();
    externalFiles_.clear();
    packagePath_ = packagePath;
    std::uint64_t fileSize = 0;
    if (!file_.Open(packagePath, FileSharing::Read) || !file_.Size(fileSize)) {
        return kResultReadError;
    }
    if (int result = FindFooter(fileSize); result != kResultSuccess) {
        return result;
    }
    opened_ = true;
    if (int result = ReadEntryTable(); result != kResultSuccess) {
        return result;
    }
    if (int result = ReadExternalTable(); result != kResultSuccess) {
        return result;
    }
    for (PayloadEntry& entry : entries_) {
        entry.extracted = false;
    }
    return kResultSuccess;
}

// Scans the file backwards chunk by chunk; the first chunk holding a magic decides, and within
// it the magic nearest the end of the file. The scan ends at the start of the file.
int PayloadReader::FindFooter(std::uint64_t fileSize) {
    std::array<std::uint8_t, kFooterScanChunk> chunk{};
    for (std::uint64_t k = 1;; ++k) {
        const std::uint64_t distance = ChunkDistanceFromEnd(k);
        if (distance > fileSize) {
            return kResultReadError;
        }
        const std::uint64_t chunkPosition = fileSize - distance;
        std::size_t got = 0;
        if (!file_.ReadAt(chunkPosition, chunk.data(), chunk.size(), got) || got != chunk.size()) {
            return kResultReadError;
        }
        bool found = false;
        std::int64_t candidate = 0;
        for (std::size_t i = 0; i <= kLastMagicStart;) {
            if (HasPayloadMagic(chunk.data() + i)) {
                candidate = static_cast<std::int64_t>(chunkPosition + i) - static_cast<std::int64_t>(kMagicOffsetInFooter);
                found = true;
                i += kPayloadMagic.size() + 1;
            } else {
                ++i;
            }
        }
        if (found) {
            return ReadFooterAt(candidate);
        }
    }
}

int PayloadReader::ReadFooterAt(std::int64_t candidate) {
    if (candidate < 0) {
        return kResultReadError;  // the footer would start before the file
    }
    std::array<std::uint8_t, kFooterSize> bytes{};
    std::size_t got = 0;
    if (!file_.ReadAt(static_cast<std::uint64_t>(candidate), bytes.data(), bytes.size(), got) || got == 0) {
        return kResultReadError;
    }
    // A footer cut short by the end of the file is damaged, not padded with whatever was in memory.
    if (got != bytes.size() || !HasPayloadMagic(bytes.data() + kMagicOffsetInFooter)) {
        return kResultDamagedPackage;
    }
    footer_ = DecodeFooter(bytes.data());
    if (footer_.formatVersion != kPayloadFormatVersion) {
        return kResultDamagedPackage;
    }
    footerPosition_ = static_cast<std::uint64_t>(candidate);
    displacement_ = candidate - static_cast<std::int64_t>(footer_.footerOffset);
    return kResultSuccess;
}

bool PayloadReader::Locate(std::uint32_t recorded, std::uint64_t length, std::uint64_t& position) const {
    const std::int64_t actual = static_cast<std::int64_t>(recorded) + displacement_;
    if (actual < 0 || static_cast<std::uint64_t>(actual) > footerPosition_ ||
        length > footerPosition_ - static_cast<std::uint64_t>(actual)) {
        return false;
    }
    position = static_cast<std::uint64_t>(actual);
    return true;
}

int PayloadReader::ReadEntryTable() {
    if (footer_.entryCount == 0) {
        return kResultSuccess;
    }
    std::uint64_t start = 0;
    // The headers alone must fit between the table start and the footer: a count larger than
    // that is damage, and is refused before anything is allocated for it.
    if (!Locate(footer_.entryTableOffset, std::uint64_t{footer_.entryCount} * kEntryHeaderSize, start)) {
        return kResultDamagedPackage;
    }
    TableCursor cursor(file_, start, footerPosition_);
    for (std::uint32_t n = 0; n < footer_.entryCount; ++n) {
        std::array<std::uint8_t, kEntryHeaderSize> raw{};
        if (int result = cursor.Read(raw.data(), raw.size()); result != kResultSuccess) {
            return result;
        }
        const EntryHeader header = DecodeEntryHeader(raw.data());
        PayloadEntry entry;
        if (int result = cursor.ReadName(header.nameLength, entry.name); result != kResultSuccess) {
            return result;
        }
        if (!IsSafeEntryName(entry.name) || !Locate(header.dataOffset, header.size, entry.dataOffset)) {
            return kResultDamagedPackage;
        }
        entry.group = static_cast<PayloadGroup>(header.group);
        entry.type = static_cast<PayloadFileType>(header.type);
        entry.entryFlags = header.entryFlags;
        entry.size = header.size;
        try {
            entries_.push_back(std::move(entry));
        } catch (const std::bad_alloc&) {
            return kResultOutOfMemory;
        }
    }
    return kResultSuccess;
}

int PayloadReader::ReadExternalTable() {
    if (externalFilesLoaded_ || footer_.externalCount == 0) {
        externalFilesLoaded_ = true;
        return kResultSuccess;
    }
    std::uint64_t start = 0;
    if (!Locate(footer_.externalTableOffset, std::uint64_t{footer_.externalCount} * kExternalHeaderSize, start)) {
        return kResultDamagedPackage;
    }
    TableCursor cursor(file_, start, footerPosition_);
    for (std::uint32_t n = 0; n < footer_.externalCount; ++n) {
        std::array<std::uint8_t, kExternalHeaderSize> raw{};
        if (int result = cursor.Read(raw.data(), raw.size()); result != kResultSuccess) {
            return result;
        }
        const ExternalHeader header = DecodeExternalHeader(raw.data());
        ExternalFileRecord record;
        record.type = static_cast<PayloadFileType>(header.type);
        if (int result = cursor.ReadName(header.nameLength, record.name); result != kResultSuccess) {
            return result;
        }
        if (!IsSafeEntryName(record.name)) {
            return kResultDamagedPackage;
        }
        try {
            externalFiles_.push_back(std::move(record));
        } catch (const std::bad_alloc&) {
            return kResultOutOfMemory;
        }
    }
    externalFilesLoaded_ = true;
    return kResultSuccess;
}

std::size_t PayloadReader::FindEntry(PayloadGroup group, PayloadFileType type) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].group == group && entries_[i].type == type) {
            return i;
        }
    }
    return kNone;
}

std::size_t PayloadReader::FindEntryByName(PayloadFileType type, PackageNameView name) const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].type == type && entries_[i].name == name) {
            return i;
        }
    }
    return kNone;
}

std::size_t PayloadReader::FindExternalFile(PayloadFileType type) const {
    for (std::size_t i = 0; i < externalFiles_.size(); ++i) {
        if (externalFiles_[i].type == type) {
            return i;
        }
    }
    return kNone;
}

EntryWindow PayloadReader::ReadWindow(std::size_t index) const {
    const PayloadEntry& entry = entries_.at(index);
    return EntryWindow{&file_, entry.dataOffset, entry.size};
}

int PayloadReader::ReadEntryData(std::size_t index, std::vector<std::uint8_t>& data) const {
    const EntryWindow window = ReadWindow(index);
    try {
        data.assign(window.size, 0);
    } catch (const std::bad_alloc&) {
        return kResultOutOfMemory;
    }
    std::size_t got = 0;
    if (!file_.ReadAt(window.offset, data.data(), data.size(), got) || got != data.size()) {
        return kResultReadError;
    }
    return kResultSuccess;
}

int PayloadReader::CheckIntegrity() const {
    // Up to the footer the scan found: a signature appended after it is not hashed.
    return CheckPackageIntegrity(packagePath_, footerPosition_, footer_.digest);
}

}  // namespace maglorin
