// maglorin-render: renders one frame of a kit model without a window (catalogues, thumbnails,
// CI) and writes it as a .bmp or .png file.
#include <cstdio>
#include <string>
#include <vector>

#include "program_folder.h"
#include "render_job.h"
#include "render_options.h"

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
    return RunRender(*parsed.options, ProgramFolder());
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
