// MD5 against the RFC 1321 test suite and known digests, fed in every split; the integrity
// check's digest comparison.
#include <gtest/gtest.h>

#include <string>

#include "md5.h"
#include "package_integrity.h"
#include "package_test_support.h"
#include "payload_reader.h"

namespace maglorin {
namespace {

std::string Md5Of(const std::string& text) {
    Md5 md5;
    md5.Update(text.data(), text.size());
    return Md5HexText(md5.Finish());
}

std::vector<std::uint8_t> CountingBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
    }
    return bytes;
}

TEST(Md5Test, Rfc1321TestSuite) {
    const struct {
        const char* message;
        const char* digest;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Md5Of(c.message), c.digest) << '"' << c.message << '"';
    }
}

// Lengths around the 56-byte padding limit and the 64-byte block, which change the padding.
TEST(Md5Test, PaddingBoundaries) {
    const struct {
        std::size_t length;
        const char* digest;
    } cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"},
        {56, "3b0c8ac703f828b04c6c197006d17218"},
        {57, "652b906d60af96844ebd21b674f35e93"},
        {63, "b06521f39153d618550606be297466d5"},
        {64, "014842d480b571495a4a0363793f7367"},
        {65, "c743a45e0d2e6a95cb859adae0248435"},
        {1000000, "7707d6ae4e027c70eea2a935c2296f21"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Md5Of(std::string(c.length, 'a')), c.digest) << c.length << " times 'a'";
    }
}

TEST(Md5Test, SameDigestWhateverTheSplitOfTheInput) {
    const std::vector<std::uint8_t> data = CountingBytes(300);
    Md5 whole;
    whole.Update(data.data(), data.size());
    const std::string expected = Md5HexText(whole.Finish());
    for (std::size_t first = 0; first <= data.size(); ++first) {
        for (std::size_t second : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{130}}) {
            Md5 split;
            std::size_t at = 0;
            split.Update(nullptr, 0);  // nothing to add, no data pointer
            split.Update(data.data(), first);
            at = first;
            while (at < data.size()) {
                const std::size_t step = std::min(second, data.size() - at);
                split.Update(data.data() + at, step);
                at += step;
            }
            ASSERT_EQ(Md5HexText(split.Finish()), expected) << "first " << first << ", then " << second;
        }
    }
}

TEST(Md5Test, KnownDigestOfPatternAcrossBlocks) {
    const std::vector<std::uint8_t> data = CountingBytes(200000);
    Md5 md5;
    md5.Update(data.data(), data.size());
    EXPECT_EQ(Md5HexText(md5.Finish()), "e2b32713dae483cfc0f4c94705b5a2e3");  // md5sum of the same bytes
}

// The integrity check reads in 64 KiB blocks; a file of three blocks and a bit crosses them.
TEST(Md5Test, FileDigestReadsInBlocks) {
    test_support::TempFolder folder;
    const std::filesystem::path path = folder / "data.bin";
    test_support::WriteFileBytes(path, CountingBytes(3 * 65536 + 17));
    PackageFile file;
    ASSERT_TRUE(file.Open(path, FileSharing::ReadAndWrite));
    Md5Digest digest{};
    ASSERT_EQ(ComputeFileDigest(file, 3 * 65536 + 17, digest), kResultSuccess);
    EXPECT_EQ(Md5HexText(digest), "b026e64f0f5c0af7ee004d10a59f8da0");
    EXPECT_EQ(ComputeFileDigest(file, 3 * 65536 + 18, digest), kResultReadError);  // past the end
}

TEST(Md5Test, StoredDigitsCompareIgnoringCaseOfHexLettersOnly) {
    const std::string computed = "0123456789abcdef0123456789abcdef";
    const struct {
        const char* stored;
        bool matches;
    } cases[] = {
        {"0123456789abcdef0123456789abcdef", true},
        {"0123456789ABCDEF0123456789ABCDEF", true},
        {"0123456789aBcDeF0123456789AbCdEf", true},
        {"0123456789abcdef0123456789abcdee", false},
        {"0123456789abcdef0123456789abcdeF", true},
        {"0123456789abcdef0123456789abcdeG", false},
        {"0123456789abcdef0123456789abcde ", false},
    };
    for (const auto& c : cases) {
        PackageDigest stored;
        std::copy(c.stored, c.stored + 32, stored.digits.begin());
        EXPECT_EQ(DigestTextMatches(computed, stored), c.matches) << c.stored;
    }
    EXPECT_EQ(kArchiveCorruptedMessage, "This archive is corrupted.");
}

TEST(Md5Test, IntegrityCheckOfFilesNoLongerThanAFooterFails) {
    test_support::TempFolder folder;
    PackageDigest stored;
    std::string empty = "d41d8cd98f00b204e9800998ecf8427e";
    std::copy(empty.begin(), empty.end(), stored.digits.begin());
    test_support::WriteFileBytes(folder / "76.bin", std::vector<std::uint8_t>(76, 0));
    EXPECT_EQ(CheckPackageIntegrity(folder / "76.bin", stored), kResultDamagedPackage);
    EXPECT_EQ(CheckPackageIntegrity(folder / "missing.bin", stored), kResultReadError);
    // 77 bytes: the digest of the single first byte.
    std::string one = "93b885adfe0da089cdf634904fd59f71";  // MD5 of one zero byte
    std::copy(one.begin(), one.end(), stored.digits.begin());
    test_support::WriteFileBytes(folder / "77.bin", std::vector<std::uint8_t>(77, 0));
    EXPECT_EQ(CheckPackageIntegrity(folder / "77.bin", stored), kResultSuccess);
}

TEST(Md5Test, IntegrityCheckHashesUpToTheFooterPositionGiven) {
    test_support::TempFolder folder;
    PackageDigest stored;
    const std::string one = "93b885adfe0da089cdf634904fd59f71";  // MD5 of one zero byte
    std::copy(one.begin(), one.end(), stored.digits.begin());
    test_support::WriteFileBytes(folder / "signed.bin", std::vector<std::uint8_t>(77 + 500, 0));
    EXPECT_EQ(CheckPackageIntegrity(folder / "signed.bin", 1, stored), kResultSuccess);
    EXPECT_EQ(CheckPackageIntegrity(folder / "signed.bin", 2, stored), kResultDamagedPackage);
    // Nothing before the footer, or a footer that would run past the end of the file.
    EXPECT_EQ(CheckPackageIntegrity(folder / "signed.bin", 0, stored), kResultDamagedPackage);
    EXPECT_EQ(CheckPackageIntegrity(folder / "signed.bin", 577 - 75, stored), kResultDamagedPackage);
    EXPECT_EQ(CheckPackageIntegrity(folder / "signed.bin", 577 - 76, stored), kResultDamagedPackage);  // digest differs
    EXPECT_EQ(CheckPackageIntegrity(folder / "missing.bin", 1, stored), kResultReadError);
}

}  // namespace
}  // namespace maglorin
