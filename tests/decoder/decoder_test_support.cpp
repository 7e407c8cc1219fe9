#include "decoder_test_support.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>
#include <vector>

namespace maglorin::test_support {

namespace fs = std::filesystem;

fs::path TestData() {
    return fs::absolute(fs::path("testdata") / "decoder");
}

fs::path FreshFolder(const std::string& name) {
    const fs::path folder = fs::absolute(fs::path("testdata") / "decoder-work" / name);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    return folder;
}

PathString AsContextFolder(const fs::path& folder, bool finalSeparator) {
    PathString text;
    for (char16_t c : folder.u16string()) {
        text += static_cast<PathChar>(c);
    }
    while (!text.empty() && (text.back() == PathChar('/') || text.back() == PathChar('\\'))) {
        text.pop_back();
    }
    if (finalSeparator) {
        text += static_cast<PathChar>(fs::path::preferred_separator);
    }
    return text;
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

namespace {

std::set<std::string> Entries(const fs::path& root) {
    std::set<std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string relative = fs::relative(entry.path(), root).generic_string();
        entries.insert(entry.is_directory() ? relative + "/" : relative);
    }
    return entries;
}

}  // namespace

bool SameTree(const fs::path& expected, const fs::path& actual, std::string& difference) {
    const std::set<std::string> want = Entries(expected);
    const std::set<std::string> got = Entries(actual);
    if (want != got) {
        std::vector<std::string> missing, extra;
        std::set_difference(want.begin(), want.end(), got.begin(), got.end(), std::back_inserter(missing));
        std::set_difference(got.begin(), got.end(), want.begin(), want.end(), std::back_inserter(extra));
        difference = "missing " + std::to_string(missing.size()) + (missing.empty() ? "" : " (" + missing[0] + ")") +
                     ", extra " + std::to_string(extra.size()) + (extra.empty() ? "" : " (" + extra[0] + ")");
        return false;
    }
    for (const std::string& entry : want) {
        if (entry.back() != '/' && ReadAll(expected / entry) != ReadAll(actual / entry)) {
            difference = "content differs: " + entry;
            return false;
        }
    }
    return true;
}

std::uint32_t Crc32(const std::string& bytes, std::size_t begin, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = begin; i < begin + length; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return crc ^ 0xFFFFFFFFu;
}

}  // namespace maglorin::test_support
