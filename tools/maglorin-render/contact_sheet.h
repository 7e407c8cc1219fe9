#pragma once
// A contact sheet: the same view of several kits side by side in one .png grid, each kit's file
// name written in a caption strip under its cell. Cells are filled row by row; cells without a
// kit keep the sheet colour. Every cell is exactly the single frame maglorin-render makes of
// that kit with the same options.

#include <cstdint>
#include <string>
#include <vector>

#include "image/decoded_picture.h"
#include "parallel_frames.h"
#include "render_options.h"

namespace maglorin::render_tool {

inline constexpr int kCaptionHeight = 11;                 // pixels under each cell
inline constexpr int kCaptionTop = 2;                     // text row in the strip
inline constexpr std::uint32_t kSheetColour = 0x202020;   // between and around the frames
inline constexpr std::uint32_t kCaptionColour = 0xFFFFFF;
// The largest sheet we make (about 256 MB of pixels).
inline constexpr std::int64_t kMostSheetPixels = 64ll * 1024 * 1024;

struct SheetLayout {
    int columns = 0;
    int rows = 0;
    int cellWidth = 0;
    int cellHeight = 0;  // the frame, without the caption strip

    int Width() const { return columns * cellWidth; }
    int Height() const { return rows * (cellHeight + kCaptionHeight); }
    // Top left pixel of cell `index` (row by row).
    int Left(int index) const { return (index % columns) * cellWidth; }
    int Top(int index) const { return (index / columns) * (cellHeight + kCaptionHeight); }
};

// The kit pictures the --texture arguments name, in order: a folder stands for every .jpg,
// .jpeg, .png, .bmp and .gif file in it (any case), sorted by name; anything else is taken as a
// picture file (read later). False with the reason when a folder cannot be listed or holds none.
[[nodiscard]] bool ListSheetKits(const std::vector<std::string>& arguments, std::vector<std::string>& kits,
                                 std::string& error);

// The caption of `kitPath`: its file name without the folder, printable and fitted to the cell.
std::string CaptionOf(const std::string& kitPath, int cellWidth);

// Copies `frame` into cell `index` and writes `caption` centred in the strip under it.
void PlaceCell(DecodedPicture& sheet, const SheetLayout& layout, int index, const DecodedPicture& frame,
               const std::string& caption);

// Renders every kit into the sheet (a sheet of the layout's size in the sheet colour first).
// False with the reason (naming the file) when a kit or another input cannot be read.
[[nodiscard]] bool RenderSheet(const RenderOptions& options, const std::string& programFolder,
                               const std::vector<std::string>& kits, const FrameProgress& progress,
                               DecodedPicture& sheet, std::string& error);

// The whole --sheet run: lists the kits, renders and writes the sheet (nothing is written when
// any kit fails). Exit code as RunRender's; messages go to standard error.
[[nodiscard]] int RunContactSheet(const RenderOptions& options, const std::string& programFolder);

}  // namespace maglorin::render_tool
