// InitExtraction's work: the window over the caller's file, the 7-Zip reader, the bound on what
// its header claims, and the walk of its database into the item catalog.
#include <algorithm>
#include <vector>

#include "7zip/Common/StreamUtils.h"

#include "archive_window_stream.h"
#include "bounded_lzma_decoder.h"
#include "header_bounds.h"
#include "extraction_state.h"
#include "no_password.h"
#include "sevenzip_archive.h"

namespace maglorin::decoder {
namespace {

std::optional<std::uint64_t> TimeOf(const NArchive::N7z::CUInt64DefVector& times, unsigned index) {
    UInt64 value = 0;
    if (times.GetItem(index, value)) {
        return value;
    }
    return std::nullopt;
}

PathString NameOf(const NArchive::N7z::CDbEx& db, unsigned index) {
    PathString name;
    if (!db.NameOffsets || !db.NamesBuf) {
        return name;
    }
    const size_t begin = db.NameOffsets[index];
    const size_t end = db.NameOffsets[index + 1];
    const Byte* bytes = db.NamesBuf;
    // Stored little-endian, each name with its terminator.
    for (size_t i = begin; i + 1 < end; ++i) {
        name += static_cast<PathChar>(bytes[i * 2] | (bytes[i * 2 + 1] << 8));
    }
    return name;
}

ArchiveCatalog CatalogOf(const NArchive::N7z::CDbEx& db) {
    ArchiveCatalog catalog;
    catalog.items.reserve(db.Files.Size());
    for (unsigned i = 0; i < db.Files.Size(); ++i) {
        const NArchive::N7z::CFileItem& file = db.Files[i];
        ArchiveItem item;
        item.name = NameOf(db, i);
        item.size = file.Size;
        item.isDirectory = file.IsDir;
        if (db.FileIndexToFolderIndexMap[i] != NArchive::N7z::kNumNoIndex) {
            item.folder = db.FileIndexToFolderIndexMap[i];
        }
        if (file.CrcDefined) {
            item.crc = file.Crc;
        }
        item.times.creation = TimeOf(db.CTime, i);
        item.times.lastAccess = TimeOf(db.ATime, i);
        item.times.lastWrite = TimeOf(db.MTime, i);
        catalog.items.push_back(std::move(item));
    }
    catalog.folderFirstItem.assign(db.FolderStartFileIndex.ConstData(),
                                   db.FolderStartFileIndex.ConstData() + db.NumFolders);
    return catalog;
}

std::uint64_t Little64(const Byte* bytes) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

bool ReadAt(IInStream& stream, UInt64 position, Byte* buffer, std::size_t size) {
    return stream.Seek(static_cast<Int64>(position), STREAM_SEEK_SET, nullptr) == S_OK &&
           ReadStream_FALSE(&stream, buffer, size) == S_OK;
}

// The first bytes of the next header, found the way the reader finds it: through the start
// header that ends at `afterStart`, or, when its fields are all zero, as the last header start
// in the final 512 bytes of the window. Empty when there is nothing to look at.
// The first bytes of the next header, and in `headerSize` how many it claims to have.
std::vector<Byte> NextHeaderStart(IInStream& stream, UInt64 afterStart, UInt64 windowSize, UInt64& headerSize) {
    constexpr std::size_t kLookedAt = 64 * 1024;  // the folder description lies at the start
    Byte start[32];
    if (afterStart < 32 || !ReadAt(stream, afterStart - 32, start, sizeof start)) return {};
    const std::uint64_t offset = Little64(start + 12);
    const std::uint64_t size = Little64(start + 20);
    const bool zeroFields = std::all_of(start + 8, start + 32, [](Byte b) { return b == 0; });
    if (zeroFields) {
        const UInt64 rest = windowSize > afterStart ? windowSize - afterStart : 0;
        const std::size_t tail = static_cast<std::size_t>(std::min<UInt64>(512, rest));
        std::vector<Byte> bytes(tail);
        if (tail < 3 || !ReadAt(stream, windowSize - tail, bytes.data(), tail)) return {};
        for (std::size_t i = tail - 1; i-- > 0;) {  // from tail - 2 down to 0
            if ((bytes[i] == 0x17 && bytes[i + 1] == 0x06) || (bytes[i] == 0x01 && bytes[i + 1] == 0x04)) {
                headerSize = tail - i;
                return std::vector<Byte>(bytes.begin() + static_cast<std::ptrdiff_t>(i), bytes.end());
            }
        }
        return {};
    }
    if (size == 0 || afterStart > windowSize || offset > windowSize - afterStart ||
        size > windowSize - afterStart - offset) {
        return {};  // the reader refuses this itself, before reserving anything
    }
    std::vector<Byte> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(size, kLookedAt)));
    if (!ReadAt(stream, afterStart + offset, bytes.data(), bytes.size())) return {};
    headerSize = size;
    return bytes;
}

// False when the archive's compressed header claims more than kMaxHeaderBytes, or its folder
// description cannot be read, or a plain header counts more items than it can hold: the reader
// would reserve that claim before decoding or reading anything.
bool HeaderClaimFits(IInStream& stream, UInt64 windowSize) {
    UInt64 afterStart = 0;
    if (stream.Seek(0, STREAM_SEEK_CUR, &afterStart) != S_OK) return false;
    UInt64 headerSize = 0;
    const std::vector<Byte> header = NextHeaderStart(stream, afterStart, windowSize, headerSize);
    const bool fits = header.empty() || [&header, headerSize] {
        const std::optional<std::uint64_t> claimed = EncodedHeaderUnpackSize(header.data(), header.size());
        return claimed && *claimed <= kMaxHeaderBytes &&
               PlainHeaderCountsFit(header.data(), header.size(), headerSize);
    }();
    return stream.Seek(static_cast<Int64>(afterStart), STREAM_SEEK_SET, nullptr) == S_OK && fits;
}

}  // namespace

ExtractionState::ExtractionState() = default;
ExtractionState::~ExtractionState() = default;

[[nodiscard]] std::int32_t OpenArchive(const ExtractionContext& context, ExtractionState& state) {
    RegisterBoundedLzmaDecoder();
    state.archive = std::make_unique<SevenZipArchive>();
    SevenZipArchive& archive = *state.archive;
    archive.password = new NoPassword;
    archive.window = new ArchiveWindowStream(context.archiveFile, context.archiveOffset,
                                             context.archiveSize);
    if (archive.window->Seek(0, STREAM_SEEK_SET, nullptr) != S_OK) {
        return kInitNoArchive;
    }
    const UInt64 searchLimit = kSignatureSearchLimit;
    if (archive.reader.Open(archive.window, &searchLimit) != S_OK) {
        return kInitNoArchive;
    }
    if (!HeaderClaimFits(*archive.window, context.archiveSize)) {
        return kInitBadDatabase;
    }
    bool isEncrypted = false;
    bool passwordIsDefined = false;
    UString password;
    const HRESULT read = archive.reader.ReadDatabase(archive.database, archive.password,
                                                     isEncrypted, passwordIsDefined, password);
    const NArchive::N7z::CDbEx& db = archive.database;
    if (read != S_OK || db.ThereIsHeaderError || db.UnexpectedEnd || db.UnsupportedFeatureError) {
        return kInitBadDatabase;
    }
    state.catalog = CatalogOf(db);
    state.opened = true;
    return kInitOpened;
}

}  // namespace maglorin::decoder
