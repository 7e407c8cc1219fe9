#include "output_splitter.h"

#include "C/7zCrc.h"

#include "output_paths.h"

namespace maglorin::decoder {

void OutputSplitter::StartFolder(std::size_t firstItem) {
    static_cast<void>(file_.Close());  // a file left open by a failed folder: already failed
    bytesWritten_ = 0;
    current_ = SkipToNextData(catalog_, firstItem);
}

HRESULT OutputSplitter::OpenCurrentFile() {
    const ArchiveItem& item = catalog_.items[current_];
    if (!HasRoomFor(settings_.outputFolder, item.size, settings_.freeSpace)) {
        if (settings_.spaceHandler == nullptr ||
            settings_.spaceHandler->OnLowDiskSpace(settings_.outputFolderText, item.size) == 0) {
            return E_ABORT;
        }
    }
    const std::optional<PathString> path = JoinItemPath(settings_.outputFolder, item.name);
    if (!path || !file_.Create(*path)) {
        return E_FAIL;
    }
    crc_ = CRC_INIT_VAL;
    bytesWritten_ = 0;
    return S_OK;
}

// The file stays on disk as written when its CRC-32 does not match.
HRESULT OutputSplitter::FinishCurrentFile() {
    const ArchiveItem& item = catalog_.items[current_];
    if (item.crc && *item.crc != CRC_GET_DIGEST(crc_)) {
        static_cast<void>(file_.Close());  // failing anyway
        return E_FAIL;
    }
    static_cast<void>(file_.SetTimes(item.times));  // best effort: the data is what matters
    // The system may report a failed write only when the file is closed (a full disk): such a
    // file is not complete.
    if (!file_.Close()) {
        return E_FAIL;
    }
    bytesWritten_ = 0;
    current_ = SkipToNextData(catalog_, current_ + 1);
    return S_OK;
}

Z7_COM7F_IMF(OutputSplitter::Write(const void* data, UInt32 size, UInt32* processedSize)) {
    if (processedSize != nullptr) {
        *processedSize = 0;
    }
    const Byte* bytes = static_cast<const Byte*>(data);
    UInt32 left = size;
    while (left > 0) {
        if (settings_.sink != nullptr && settings_.sink->IsCancelled()) {
            return E_ABORT;
        }
        if (current_ >= catalog_.items.size()) {
            return E_FAIL;  // the folder holds more bytes than its files
        }
        if (!file_.IsOpen()) {
            RINOK(OpenCurrentFile())
        }
        const std::uint64_t fileLeft = catalog_.items[current_].size - bytesWritten_;
        const UInt32 chunk = fileLeft < left ? static_cast<UInt32>(fileLeft) : left;
        std::uint32_t written = 0;
        if (!file_.Write(bytes, chunk, &written) || written == 0) {
            return E_FAIL;
        }
        crc_ = CrcUpdate(crc_, bytes, written);
        bytesWritten_ += written;
        bytes += written;
        left -= written;
        if (processedSize != nullptr) {
            *processedSize += written;
        }
        if (bytesWritten_ == catalog_.items[current_].size) {
            RINOK(FinishCurrentFile())
        }
    }
    return S_OK;
}

}  // namespace maglorin::decoder
