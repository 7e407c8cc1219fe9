#pragma once
// Passes the folder decoder's progress to the caller's sink: SetCompleted with the bytes
// produced so far in the folder being decoded; a sink answering stop makes the decoder abort.

#include "sevenzip_glue.h"

#include "extraction_context.h"

namespace maglorin::decoder {

Z7_CLASS_IMP_COM_1(ProgressRelay, ICompressProgressInfo)
public:
    explicit ProgressRelay(ExtractProgressSink* sink) : sink_(sink) {}

private:
    ExtractProgressSink* sink_;  // may be null; owned by the caller
};

}  // namespace maglorin::decoder
