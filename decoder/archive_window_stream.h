#pragma once
// The archive window: the bytes [offset, offset + size) of the caller's file presented to the
// 7-Zip reader as a seekable stream whose position 0 is the archive's first byte. Reads go
// through the caller's handle at its current position; the handle is never closed here.

#include "sevenzip_glue.h"

#include "extraction_context.h"

namespace maglorin::decoder {

Z7_CLASS_IMP_IInStream(ArchiveWindowStream)
public:
    ArchiveWindowStream(NativeFileHandle file, UInt64 offset, UInt64 size)
        : file_(file), offset_(offset), size_(size) {}

private:
    // One past the window's last byte as a file position (a size running past the largest
    // position ends the window there).
    UInt64 WindowEnd() const { return size_ > ~offset_ ? ~UInt64(0) : offset_ + size_; }

    NativeFileHandle file_;  // caller owns the handle
    UInt64 offset_;          // window start within the file, bytes
    UInt64 size_;            // window length, bytes
};

}  // namespace maglorin::decoder
