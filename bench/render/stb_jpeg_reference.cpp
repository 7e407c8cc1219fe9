// stb_image's JPEG decoder alone, compiled only into the benchmark.
#include "stb_jpeg_reference.h"

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wdouble-promotion"
#endif
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#include <stb_image.h>
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

namespace maglorin::render_bench {

std::size_t DecodeJpegWithStb(const std::uint8_t* data, std::size_t size) {
    int width = 0, height = 0, channels = 0;
    unsigned char* rgb = stbi_load_from_memory(data, static_cast<int>(size), &width, &height, &channels, 3);
    if (rgb == nullptr) return 0;
    stbi_image_free(rgb);
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

}  // namespace maglorin::render_bench
