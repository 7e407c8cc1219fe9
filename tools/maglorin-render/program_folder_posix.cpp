#include <filesystem>
#include <system_error>

#include "program_folder.h"

namespace maglorin::render_tool {

std::string ProgramFolder() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return std::string();
    return self.parent_path().string() + "/";
}

}  // namespace maglorin::render_tool
