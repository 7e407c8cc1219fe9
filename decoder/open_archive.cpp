// InitExtraction's work: the window over the caller's file, the 7-Zip reader and the walk of
// its database into the item catalog.
#include "archive_window_stream.h"
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

}  // namespace

ExtractionState::ExtractionState() = default;
ExtractionState::~ExtractionState() = default;

[[nodiscard]] std::int32_t OpenArchive(const ExtractionContext& context, ExtractionState& state) {
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
