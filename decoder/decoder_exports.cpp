// The four exports of the extraction library. Nothing but these small integers crosses the
// library boundary: no exception leaves it.
#include <new>

#include "extraction_state.h"

using maglorin::ExtractionContext;
using maglorin::decoder::ExtractionState;

#if defined(_WIN32)
#define DECODER_EXPORT  // exported by name through decoder.def
#else
#define DECODER_EXPORT __attribute__((visibility("default")))
#endif

namespace {

ExtractionState* StateOf(ExtractionContext* context) {
    return static_cast<ExtractionState*>(context->state);
}

}  // namespace

extern "C" {

DECODER_EXPORT std::int32_t MAGLORIN_EXTRACT_CALL InitExtraction(ExtractionContext* context) {
    try {
        auto* state = new ExtractionState;
        context->state = state;  // stays until EndExtraction, whatever the result
        return maglorin::decoder::OpenArchive(*context, *state);
    } catch (const std::bad_alloc&) {
        return maglorin::kInitNoArchive;
    } catch (...) {
        return maglorin::kInitBadDatabase;
    }
}

DECODER_EXPORT std::uint64_t MAGLORIN_EXTRACT_CALL GetTotalFilesSize(ExtractionContext* context) {
    const ExtractionState* state = StateOf(context);
    return state == nullptr ? 0 : maglorin::decoder::TotalFilesSize(state->catalog);
}

DECODER_EXPORT std::int32_t MAGLORIN_EXTRACT_CALL ExtractAllFiles(ExtractionContext* context) {
    ExtractionState* state = StateOf(context);
    if (state == nullptr) {
        return maglorin::kExtractFailed;
    }
    try {
        return maglorin::decoder::ExtractAll(*context, *state);
    } catch (...) {
        return maglorin::kExtractFailed;
    }
}

DECODER_EXPORT std::int32_t MAGLORIN_EXTRACT_CALL EndExtraction(ExtractionContext* context) {
    delete StateOf(context);
    context->state = nullptr;
    return 0;
}

}  // extern "C"
