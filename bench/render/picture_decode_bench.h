#pragma once
// The picture-decoding rows of render-bench.

#include <functional>

namespace maglorin::render_bench {

// Prints the time to decode one large JPEG with the viewer's decoder beside stb_image's JPEG
// decoder in the same run, and the time to resample the decoded picture to width x height.
// `timer` gives milliseconds per call of its work, as the frame rows are measured.
void PrintPictureDecodeRows(int rounds, int width, int height,
                            const std::function<double(int, const std::function<void()>&)>& timer);

}  // namespace maglorin::render_bench
