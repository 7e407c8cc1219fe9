#include "progress_relay.h"

namespace maglorin::decoder {

Z7_COM7F_IMF(ProgressRelay::SetRatioInfo(const UInt64* /*inSize*/, const UInt64* outSize)) {
    if (sink_ != nullptr && outSize != nullptr && sink_->SetCompleted(*outSize)) {
        return E_ABORT;
    }
    return S_OK;
}

}  // namespace maglorin::decoder
