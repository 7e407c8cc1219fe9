#include "image/whole_file_writer.h"

#include <fstream>
#include <system_error>

namespace maglorin {

std::filesystem::path PartialFilePath(const std::filesystem::path& path) {
    std::filesystem::path partial = path;
    partial += ".partial";
    return partial;
}

WholeFileResult WriteWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    const std::filesystem::path partial = PartialFilePath(path);
    std::error_code ignored;
    {
        std::ofstream file(partial, std::ios::binary | std::ios::trunc);
        if (!file) {
            return WholeFileResult::CannotCreate;
        }
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (!file) {
            std::filesystem::remove(partial, ignored);  // ours, and incomplete
            return WholeFileResult::CannotWrite;
        }
    }
    std::error_code failure;
    std::filesystem::rename(partial, path, failure);  // replaces an existing file of that name
    if (failure) {
        std::filesystem::remove(partial, ignored);
        return WholeFileResult::CannotReplace;
    }
    return WholeFileResult::Written;
}

}  // namespace maglorin
