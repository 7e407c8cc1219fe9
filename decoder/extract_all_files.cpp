// ExtractAllFiles' work: refuse names that would leave the output folder, create directories,
// the folders files lie in, and empty files, then decode every folder that holds data into the
// output splitter.
#include "7zip/Archive/7z/7zDecode.h"

#include "extraction_state.h"
#include "output_paths.h"
#include "output_splitter.h"
#include "progress_relay.h"
#include "sevenzip_archive.h"
#include "thread_count.h"

namespace maglorin::decoder {
namespace {

// Not used by the LZMA decoder, whose dictionary the registered coder bounds itself
// (bounded_lzma_decoder.h); a bound for coders that take one.
constexpr UInt64 kDecoderMemoryLimit = UInt64(1) << 30;

// Every item must stay inside the output folder and fit the joined-path limit; checked for all
// items before anything is written.
[[nodiscard]] bool AllItemsFit(const ArchiveCatalog& catalog, const PathString& outputFolder) {
    for (const ArchiveItem& item : catalog.items) {
        if (!IsSafeItemName(item.name)) {
            return false;
        }
        PathString name = item.name;
        if (item.isDirectory) {
            name += kPathSeparator;
        }
        if (!JoinItemPath(outputFolder, name)) {
            return false;
        }
    }
    return true;
}

void CreateDirectories(const ArchiveCatalog& catalog, const PathString& outputFolder) {
    for (const ArchiveItem& item : catalog.items) {
        if (!item.isDirectory) {
            continue;
        }
        const std::optional<PathString> path = JoinItemPath(outputFolder, item.name + kPathSeparator);
        for (const PathString& directory : DirectoryChain(*path)) {
            // Failures are ignored: it may exist already.
            static_cast<void>(CreateOneDirectory(directory));
        }
    }
}

// Packers list a file's folders as items only when they were named: "7zz a x.7z a/b.txt" stores
// no item for "a". Every file therefore gets its missing parent folders, strictly inside the
// output folder (the names were checked by AllItemsFit, so none of them climbs out).
void CreateParentFolders(const ArchiveCatalog& catalog, const PathString& outputFolder) {
    for (const ArchiveItem& item : catalog.items) {
        if (item.isDirectory) {
            continue;
        }
        for (const PathString& folder : ParentFoldersInside(outputFolder, item.name)) {
            static_cast<void>(CreateOneDirectory(folder));  // failures show when the file is created
        }
    }
}

// Creates the files without data and answers the sum of the sizes of the files with data and
// the first of them (items.size() when there is none). False when an empty file cannot be
// created: reporting success then would lose it without a word.
bool CreateEmptyFiles(const ArchiveCatalog& catalog, const PathString& outputFolder,
                      std::uint64_t& total, std::size_t& first) {
    first = catalog.items.size();
    total = 0;
    for (std::size_t i = 0; i < catalog.items.size(); ++i) {
        const ArchiveItem& item = catalog.items[i];
        if (item.isDirectory) {
            continue;
        }
        if (!item.folder) {
            OutputFile file;
            if (!file.Create(*JoinItemPath(outputFolder, item.name)) || !file.Close()) {
                return false;
            }
            continue;
        }
        total += item.size;
        if (first == catalog.items.size()) {
            first = i;
        }
    }
    return true;
}

[[nodiscard]] std::int32_t DecodeFolders(const ExtractionContext& context, SevenZipArchive& archive,
                           const ArchiveCatalog& catalog, const PathString& outputFolder,
                           std::size_t firstItem) {
    const UInt32 threads = DecoderThreadCount();
    CMyComPtr<ICompressProgressInfo> relay = new ProgressRelay(context.progressSink);
    SplitterSettings settings{outputFolder, context.outputFolder, context.progressSink,
                              context.spaceHandler, &FreeBytesAvailable};
    OutputSplitter* splitter = new OutputSplitter(catalog, std::move(settings));
    CMyComPtr<ISequentialOutStream> splitterRef = splitter;
    NArchive::N7z::CDecoder decoder(true);

    std::optional<std::uint32_t> lastFolder;
    std::size_t current = firstItem;
    while (current < catalog.items.size()) {
        const std::optional<std::uint32_t> folder = catalog.items[current].folder;
        // A folder is decoded once, in order; anything else is a damaged database.
        if (!folder || *folder >= catalog.folderFirstItem.size() ||
            (lastFolder && *folder <= *lastFolder)) {
            return kExtractFailed;
        }
        splitter->StartFolder(catalog.folderFirstItem[*folder]);
        bool dataAfterEnd = false;
        bool isEncrypted = false;
        bool passwordIsDefined = false;
        UString password;
        const HRESULT result = decoder.Decode(
            archive.window, archive.database.ArcInfo.DataStartPosition, archive.database, *folder,
            nullptr, splitterRef, relay, nullptr, dataAfterEnd, archive.password, isEncrypted,
            passwordIsDefined, password, true, threads, kDecoderMemoryLimit);
        if (result == E_ABORT) {
            return kExtractStopped;
        }
        if (result != S_OK) {
            return kExtractFailed;
        }
        // A folder that ended before its files were complete.
        current = splitter->CurrentItem();
        if (splitter->IsFileOpen() ||
            (current < catalog.items.size() && catalog.items[current].folder == folder)) {
            return kExtractFailed;
        }
        lastFolder = folder;
    }
    return kExtractDone;
}

}  // namespace

[[nodiscard]] std::int32_t ExtractAll(const ExtractionContext& context, ExtractionState& state) {
    const std::optional<PathString> outputFolder = OutputFolderOf(context);
    if (!state.opened || !outputFolder || !AllItemsFit(state.catalog, *outputFolder)) {
        return kExtractFailed;
    }
    const ArchiveCatalog& catalog = state.catalog;
    CreateDirectories(catalog, *outputFolder);
    CreateParentFolders(catalog, *outputFolder);
    std::uint64_t total = 0;
    std::size_t firstItem = 0;
    if (!CreateEmptyFiles(catalog, *outputFolder, total, firstItem)) {
        return kExtractFailed;
    }
    if (firstItem == catalog.items.size()) {
        return kExtractDone;
    }
    if (context.progressSink != nullptr) {
        context.progressSink->SetTotal(total);
    }
    const std::int32_t result = DecodeFolders(context, *state.archive, catalog, *outputFolder, firstItem);
    if (result == kExtractDone && context.progressSink != nullptr) {
        // Everything is written: a stop asked for at this point changes nothing.
        static_cast<void>(context.progressSink->SetCompleted(total));
    }
    return result;
}

}  // namespace maglorin::decoder
