#include "image/whole_file_writer.h"

#include <fstream>
#include <system_error>

namespace maglorin {

WholeFileResult WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) {
        return WholeFileResult::CannotCreate;
    }
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (file) {
        return WholeFileResult::Written;
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);  // ours, and incomplete
    return WholeFileResult::CannotWrite;
}

}  // namespace maglorin
