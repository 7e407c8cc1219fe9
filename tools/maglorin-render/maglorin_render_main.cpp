// maglorin-render: renders one frame of a kit model without a window (catalogues, thumbnails,
// CI) and writes it as a .bmp or .png file; or a turntable of numbered frames, or a contact
// sheet of several kits.
#include <cstdio>
#include <string>
#include <vector>

#include "contact_sheet.h"
#include "program_folder.h"
#include "render_job.h"
#include "render_options.h"
#include "turntable_job.h"

namespace maglorin::render_tool {
namespace {

int Run(const std::vector<std::string>& arguments) {
    const ParseResult parsed = ParseRenderOptions(arguments);
    if (!parsed.options) {
        std::fprintf(stderr, "maglorin-render: %s\n%s", parsed.error.c_str(), kUsage);
        return kExitUsage;
    }
    if (parsed.options->help) {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    const RenderOptions& options = *parsed.options;
    if (options.turntable > 0) return RunTurntable(options, ProgramFolder());
    if (options.sheetColumns > 0) return RunContactSheet(options, ProgramFolder());
    return RunRender(options, ProgramFolder());
}

}  // namespace
}  // namespace maglorin::render_tool

#if defined(_WIN32)
int wmain(int argc, wchar_t** argv) {
    return maglorin::render_tool::Run(maglorin::render_tool::ArgumentsFromWide(argc, argv));
}
#else
int main(int argc, char** argv) {
    return maglorin::render_tool::Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
