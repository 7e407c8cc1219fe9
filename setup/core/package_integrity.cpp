#include "package_integrity.h"

#include <new>
#include <vector>

#include "package_result.h"

namespace maglorin {

[[nodiscard]] int ComputeFileDigest(const PackageFile& file, std::uint64_t length, Md5Digest& digest) {
    std::vector<std::uint8_t> block;
    try {
        block.resize(kDigestBlockSize);
    } catch (const std::bad_alloc&) {
        return kResultOutOfMemory;
    }
    Md5 md5;
    std::uint64_t position = 0;
    while (position < length) {
        const std::uint64_t left = length - position;
        const std::size_t want = left < block.size() ? static_cast<std::size_t>(left) : block.size();
        std::size_t got = 0;
        if (!file.ReadAt(position, block.data(), want, got) || got != want) {
            return kResultReadError;
        }
        md5.Update(block.data(), got);
        position += got;
    }
    digest = md5.Finish();
    return kResultSuccess;
}

[[nodiscard]] bool DigestTextMatches(std::string_view computedLowerCase, const PackageDigest& stored) {
    if (computedLowerCase.size() != stored.digits.size()) {
        return false;
    }
    for (std::size_t i = 0; i < stored.digits.size(); ++i) {
        char c = stored.digits[i];
        if (c >= 'A' && c <= 'F') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != computedLowerCase[i]) {
            return false;
        }
    }
    return true;
}

[[nodiscard]] int CheckPackageIntegrity(const std::filesystem::path& packagePath, std::uint64_t footerPosition,
                                        const PackageDigest& stored) {
    PackageFile file;
    std::uint64_t size = 0;
    if (!file.Open(packagePath, FileSharing::ReadAndWrite) || !file.Size(size)) {
        return kResultReadError;
    }
    if (footerPosition == 0 || size < kFooterSize || footerPosition > size - kFooterSize) {
        return kResultDamagedPackage;
    }
    Md5Digest digest{};
    if (int result = ComputeFileDigest(file, footerPosition, digest); result != kResultSuccess) {
        return result;
    }
    return DigestTextMatches(Md5HexText(digest), stored) ? kResultSuccess : kResultDamagedPackage;
}

[[nodiscard]] int CheckPackageIntegrity(const std::filesystem::path& packagePath, const PackageDigest& stored) {
    PackageFile file;
    std::uint64_t size = 0;
    if (!file.Open(packagePath, FileSharing::ReadAndWrite) || !file.Size(size)) {
        return kResultReadError;
    }
    file.Close();
    if (size <= kFooterSize) {
        return kResultDamagedPackage;
    }
    return CheckPackageIntegrity(packagePath, size - kFooterSize, stored);
}

}  // namespace maglorin
