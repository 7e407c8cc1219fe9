// Replays inputs through a fuzz target without libFuzzer: every file named on the command line,
// and every file below every folder named there, is read and handed to LLVMFuzzerTestOneInput
// once. Built with the ordinary compiler of the native trees, so the seeds and the regression
// inputs run in every test run (sanitized in native-asan) and a fixed fault cannot come back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool ReadWhole(const fs::path& file, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The files an argument names, sorted so a failing run names the same input every time.
bool CollectInputs(const fs::path& argument, std::vector<fs::path>& files) {
    std::error_code error;
    if (fs::is_regular_file(argument, error)) {
        files.push_back(argument);
        return true;
    }
    if (!fs::is_directory(argument, error)) {
        return false;
    }
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(argument, error)) {
        if (entry.is_regular_file()) {
            found.push_back(entry.path());
        }
    }
    if (error) {
        return false;
    }
    std::sort(found.begin(), found.end());
    files.insert(files.end(), found.begin(), found.end());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (!CollectInputs(argv[i], files)) {
            std::fprintf(stderr, "%s: cannot read '%s'\n", argv[0], argv[i]);
            return 2;
        }
    }
    // A replay over nothing would pass without testing anything.
    if (files.empty()) {
        std::fprintf(stderr, "%s: no inputs to replay\n", argv[0]);
        return 2;
    }
    for (const fs::path& file : files) {
        std::vector<std::uint8_t> bytes;
        if (!ReadWhole(file, bytes)) {
            std::fprintf(stderr, "%s: cannot read '%s'\n", argv[0], file.string().c_str());
            return 2;
        }
        std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.string().c_str(), bytes.size());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", files.size());
    return 0;
}
