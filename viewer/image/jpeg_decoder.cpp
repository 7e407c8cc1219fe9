#include "jpeg_decoder.h"

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <new>
#include <vector>

#include "picture_limits.h"

// jpeglib.h needs size_t and FILE declared first.
#include <jerror.h>
#include <jpeglib.h>

namespace maglorin {

namespace {

static_assert(std::endian::native == std::endian::little,
              "B, G, R, X bytes make a 0x00RRGGBB word only on little-endian machines");

// A progressive file may have any number of scans; real pictures have a dozen or so, while a
// crafted one with thousands makes decoding take minutes.
constexpr long kMaxScans = 500;
// Working memory the decoder may take besides the output (coefficient buffers of progressive
// and multi-scan files).
constexpr long kMaxDecoderMemory = 512L * 1024 * 1024;

// The decoder's error manager; a fatal error jumps back to the one setjmp in RunDecoder.
struct JpegSession {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    char message[JMSG_LENGTH_MAX] = {};
    bool tooManyScans = false;
};

JpegSession& SessionOf(j_common_ptr info) {
    // `errors` is the only error manager ever installed, and it lives inside a JpegSession.
    return *reinterpret_cast<JpegSession*>(reinterpret_cast<char*>(info->err) -
                                           offsetof(JpegSession, errors));
}

[[noreturn]] void OnFatalError(j_common_ptr info) {
    JpegSession& session = SessionOf(info);
    (*info->err->format_message)(info, session.message);
    std::longjmp(session.jump, 1);
}

// Warnings (premature end of data, extraneous bytes) are not fatal: the picture is still shown,
// as every viewer does, and nothing is printed.
void OnMessage(j_common_ptr, int) {}

void OnProgress(j_common_ptr info) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        SessionOf(info).tooManyScans = true;
        OnFatalError(info);
    }
}

enum class DecodeStep { Decoded, Refused, Failed };

// Everything between the setjmp and the last decoder call: no object with a destructor is
// created here, so the jump back on a fatal error skips nothing that must be undone.
DecodeStep RunDecoder(JpegSession& session, const std::uint8_t* data, std::size_t size,
                      DecodedPicture& picture, std::string& error) {
    jpeg_decompress_struct& info = session.info;
    if (setjmp(session.jump) != 0) {
        return DecodeStep::Failed;
    }
    jpeg_create_decompress(&info);
    info.progress = &session.progress;
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
        error = "the file holds no JPEG picture";
        return DecodeStep::Refused;
    }
    if (!PictureSizeAllowed(info.image_width, info.image_height, error)) {
        return DecodeStep::Refused;
    }
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    const JDIMENSION width = info.output_width;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(info.output_height);
    try {
        picture.pixels.resize(static_cast<std::size_t>(width) * info.output_height);
    } catch (const std::bad_alloc&) {
        error = "not enough memory for the picture";
        return DecodeStep::Refused;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(&picture.pixels[static_cast<std::size_t>(info.output_scanline) * width]);
        if (jpeg_read_scanlines(&info, &row, 1) != 1) {
            error = "the JPEG data ends early";
            return DecodeStep::Refused;
        }
    }
    jpeg_abort_decompress(&info);
    return DecodeStep::Decoded;
}

}  // namespace

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, DecodedPicture& picture,
                std::string& error) {
    picture = DecodedPicture{};
    if (data == nullptr || size == 0 || size > kMaxPictureFileBytes) {
        error = "not a JPEG picture of a size the viewer takes";
        return false;
    }
    JpegSession session;
    session.info.err = jpeg_std_error(&session.errors);
    session.errors.error_exit = OnFatalError;
    session.errors.emit_message = OnMessage;
    session.progress.progress_monitor = OnProgress;
    const DecodeStep step = RunDecoder(session, data, size, picture, error);
    jpeg_destroy_decompress(&session.info);
    if (step == DecodeStep::Decoded) {
        for (std::uint32_t& word : picture.pixels) word &= 0x00FFFFFFu;
        return true;
    }
    if (step == DecodeStep::Failed) {
        error = session.tooManyScans ? "the JPEG file has too many scans"
                                     : std::string("damaged JPEG file: ") + session.message;
    }
    picture = DecodedPicture{};
    return false;
}

}  // namespace maglorin
