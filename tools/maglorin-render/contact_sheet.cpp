#include "contact_sheet.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "caption_font.h"
#include "frame_name_pattern.h"
#include "render_job.h"
#include "scene/material_textures.h"
#include "terminal.h"

namespace maglorin::render_tool {

namespace {

namespace fs = std::filesystem;

bool IsPictureName(const std::string& name) {
    for (const char* extension : {".jpg", ".jpeg", ".png", ".bmp", ".gif"}) {
        if (HasExtension(name, extension)) return true;
    }
    return false;
}

bool ListFolder(const std::string& folder, std::vector<std::string>& kits, std::string& error) {
    std::vector<fs::path> found;
    std::error_code failed;
    for (fs::directory_iterator it(folder, failed), end; !failed && it != end; it.increment(failed)) {
        std::error_code ignored;
        if (it->is_regular_file(ignored) && IsPictureName(it->path().filename().string())) found.push_back(it->path());
    }
    if (failed) {
        error = "cannot list the folder '" + folder + "': " + failed.message();
        return false;
    }
    if (found.empty()) {
        error = "no pictures (.jpg, .jpeg, .png, .bmp, .gif) in the folder '" + folder + "'";
        return false;
    }
    std::sort(found.begin(), found.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename().string() < b.filename().string(); });
    for (const fs::path& path : found) kits.push_back(path.string());
    return true;
}

[[nodiscard]] bool CheckLayout(const SheetLayout& layout, std::size_t kits, std::string& error) {
    const std::size_t cells = static_cast<std::size_t>(layout.columns) * static_cast<std::size_t>(layout.rows);
    if (kits > cells) {
        error = std::to_string(kits) + " kits do not fit a " + std::to_string(layout.columns) + "x" +
                std::to_string(layout.rows) + " sheet of " + std::to_string(cells) + " cells: give a larger --sheet";
        return false;
    }
    const std::int64_t pixels = static_cast<std::int64_t>(layout.Width()) * layout.Height();
    if (pixels > kMostSheetPixels) {
        error = "a sheet of " + std::to_string(layout.Width()) + "x" + std::to_string(layout.Height()) +
                " pixels is too large: give fewer cells or a smaller --size";
        return false;
    }
    return true;
}

}  // namespace

bool ListSheetKits(const std::vector<std::string>& arguments, std::vector<std::string>& kits, std::string& error) {
    kits.clear();
    for (const std::string& argument : arguments) {
        std::error_code ignored;
        if (fs::is_directory(argument, ignored)) {
            if (!ListFolder(argument, kits, error)) return false;
        } else {
            kits.push_back(argument);
        }
    }
    return true;
}

std::string CaptionOf(const std::string& kitPath, int cellWidth) {
    return FitText(PrintableText(FileNameOf(kitPath)), cellWidth - 2);
}

void PlaceCell(DecodedPicture& sheet, const SheetLayout& layout, int index, const DecodedPicture& frame,
               const std::string& caption) {
    const int left = layout.Left(index);
    const int top = layout.Top(index);
    const int width = std::min(frame.width, layout.cellWidth);
    const int height = std::min(frame.height, layout.cellHeight);
    for (int y = 0; y < height; ++y) {
        const auto from = frame.pixels.begin() + static_cast<std::ptrdiff_t>(y) * frame.width;
        const auto to = sheet.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * sheet.width + left;
        std::copy(from, from + width, to);
    }
    const int textLeft = left + (layout.cellWidth - TextWidth(caption)) / 2;
    DrawText(sheet, textLeft, top + layout.cellHeight + kCaptionTop, caption, kCaptionColour);
}

bool RenderSheet(const RenderOptions& options, const std::string& programFolder, const std::vector<std::string>& kits,
                 const FrameProgress& progress, DecodedPicture& sheet, std::string& error) {
    const SheetLayout layout{options.sheetColumns, options.sheetRows, options.width, options.height};
    if (!CheckLayout(layout, kits.size(), error)) return false;
    sheet.width = layout.Width();
    sheet.height = layout.Height();
    sheet.pixels.assign(static_cast<std::size_t>(sheet.width) * static_cast<std::size_t>(sheet.height), kSheetColour);
    // Each cell writes only its own pixels of the sheet, so the workers never touch the same word.
    const FrameWork work = [&](int index, std::string& cellError) {
        RenderOptions cellOptions = options;
        cellOptions.texture = kits[static_cast<std::size_t>(index)];
        Scene scene;
        if (!PrepareScene(scene, cellOptions, programFolder, cellError)) return false;
        RenderPreparedFrame(scene);
        DecodedPicture frame;
        if (!FramePicture(scene, frame)) {
            cellError = "no frame for '" + cellOptions.texture + "'";
            return false;
        }
        PlaceCell(sheet, layout, index, frame, CaptionOf(cellOptions.texture, layout.cellWidth));
        return true;
    };
    const int count = static_cast<int>(kits.size());
    return RunFrameWork(count, WorkerCount(options.jobs, count), work, progress, error);
}

int RunContactSheet(const RenderOptions& options, const std::string& programFolder) {
    std::vector<std::string> kits;
    std::string error;
    DecodedPicture sheet;
    FrameProgress progress;
    if (IsTerminal(stderr)) {
        progress = [](int done, int count) {
            std::fprintf(stderr, "\rmaglorin-render: kit %d of %d", done, count);
            if (done == count) std::fputc('\n', stderr);
            std::fflush(stderr);
        };
    }
    if (!ListSheetKits(options.textures, kits, error) ||
        !RenderSheet(options, programFolder, kits, progress, sheet, error) ||
        !WritePngAtomically(sheet, options.out, error)) {
        if (progress) std::fputc('\n', stderr);  // end the progress line before the reason
        std::fprintf(stderr, "maglorin-render: %s\n", error.c_str());
        return kExitFailed;
    }
    std::printf("%s: %zu kits on a %dx%d sheet of %dx%d pixels\n", options.out.c_str(), kits.size(),
                options.sheetColumns, options.sheetRows, sheet.width, sheet.height);
    return kExitOk;
}

}  // namespace maglorin::render_tool
