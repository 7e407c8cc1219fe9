#pragma once
// The sequential sink a folder is decoded into: it cuts the folder's bytes into the files of
// the folder's items, in database order, checking each file's CRC-32, setting its times, and
// asking for cancellation before every block and for free space before every file.

#include <cstdint>

#include "sevenzip_glue.h"

#include "archive_items.h"
#include "disk_space_check.h"
#include "platform.h"

namespace maglorin::decoder {

struct SplitterSettings {
    PathString outputFolder;
    const PathChar* outputFolderText = nullptr;  // the context's own field, for the handler
    ExtractProgressSink* sink = nullptr;         // may be null
    DiskSpaceHandler* spaceHandler = nullptr;    // may be null
    FreeSpaceQuery freeSpace;
};

Z7_CLASS_IMP_COM_1(OutputSplitter, ISequentialOutStream)
public:
    OutputSplitter(const ArchiveCatalog& catalog, SplitterSettings settings)
        : catalog_(catalog), settings_(std::move(settings)) {}

    // Starts a folder at its first item (skipping items without bytes).
    void StartFolder(std::size_t firstItem);
    // The item the next byte belongs to; catalog.items.size() when all are written.
    std::size_t CurrentItem() const { return current_; }
    [[nodiscard]] bool IsFileOpen() const { return file_.IsOpen(); }

private:
    HRESULT OpenCurrentFile();
    HRESULT FinishCurrentFile();

    const ArchiveCatalog& catalog_;
    SplitterSettings settings_;
    std::size_t current_ = 0;
    OutputFile file_;
    std::uint32_t crc_ = 0;           // running CRC-32 state of the open file
    std::uint64_t bytesWritten_ = 0;  // into the open file
};

}  // namespace maglorin::decoder
