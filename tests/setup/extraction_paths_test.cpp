// Paths inside the extraction folder: the long-path prefix rule, joins that must stay inside,
// folder parts, extensions, the folders to create, the package sub-folder name.
#include <gtest/gtest.h>

#include "extraction_paths.h"

namespace maglorin {
namespace {

PathText P(std::string_view ascii) { return PathFromAscii(ascii); }

TEST(ExtractionPathsTest, FolderFormAddsThePrefixOnlyToDrivePaths) {
    struct Case {
        const char* folder;
        const char* expected;
    } cases[] = {
        {"C:\\Temp\\", "\\\\?\\C:\\Temp\\"},
        {"C:\\Temp", "\\\\?\\C:\\Temp\\"},
        {"d:\\a b\\c", "\\\\?\\d:\\a b\\c\\"},
        {"\\\\?\\C:\\Temp\\", "\\\\?\\C:\\Temp\\"},           // already prefixed: unchanged
        {"\\\\server\\share\\x", "\\\\server\\share\\x\\"},   // network path: no prefix
        {"\\\\?\\UNC\\server\\share\\", "\\\\?\\UNC\\server\\share\\"},
        {"relative\\folder", "relative\\folder\\"},           // the prefix names absolute paths only
        {".", ".\\"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractionFolderForm(P(c.folder)), P(c.expected)) << c.folder;
    }
}

TEST(ExtractionPathsTest, ShownPathsLoseThePrefix) {
    EXPECT_EQ(WithoutLongPathPrefix(P("\\\\?\\C:\\Temp\\a.txt")), P("C:\\Temp\\a.txt"));
    EXPECT_EQ(WithoutLongPathPrefix(P("\\\\?\\UNC\\srv\\share\\a")), P("\\\\srv\\share\\a"));
    EXPECT_EQ(WithoutLongPathPrefix(P("\\\\srv\\share\\a")), P("\\\\srv\\share\\a"));
    EXPECT_EQ(WithoutLongPathPrefix(P("C:\\a")), P("C:\\a"));
}

TEST(ExtractionPathsTest, JoinKeepsEveryPathInsideTheFolder) {
    const PathText folder = P("\\\\?\\C:\\X\\");
    EXPECT_EQ(JoinEntryPath(folder, P("setup.ini")), P("\\\\?\\C:\\X\\setup.ini"));
    EXPECT_EQ(JoinEntryPath(folder, P("ABCDEF1\\FILES.7z")), P("\\\\?\\C:\\X\\ABCDEF1\\FILES.7z"));
    EXPECT_EQ(JoinEntryPath(P("\\\\?\\C:\\X"), P("a/b")), P("\\\\?\\C:\\X\\a\\b"));
    const char* refused[] = {"..\\evil", "a\\..\\..\\evil", "\\evil", "C:\\evil", "C:evil", "\\\\srv\\s\\x",
                             "NUL", "a\\CON.txt", "", "a\\", "x:stream"};
    for (const char* name : refused) {
        EXPECT_FALSE(JoinEntryPath(folder, P(name)).has_value()) << name;
    }
    EXPECT_FALSE(JoinEntryPath(P(""), P("a")).has_value());
}

TEST(ExtractionPathsTest, FolderPartAndExtension) {
    EXPECT_EQ(FolderPart(P("ABCDEF1\\setup.msi.7z")), P("ABCDEF1\\"));
    EXPECT_EQ(FolderPart(P("a\\b/c.txt")), P("a\\b/"));
    EXPECT_EQ(FolderPart(P("setup.7z")), P(""));
    EXPECT_EQ(ReplaceExtension(P("\\\\?\\C:\\X\\ABC\\setup.7z"), P(".msi")), P("\\\\?\\C:\\X\\ABC\\setup.msi"));
    EXPECT_EQ(ReplaceExtension(P("C:\\X\\ABC\\setup"), P(".msi")), P("C:\\X\\ABC\\setup.msi"));
    EXPECT_EQ(ReplaceExtension(P("C:\\X.d\\setup"), P(".msi")), P("C:\\X.d\\setup.msi"));  // dot in a folder
    EXPECT_EQ(ReplaceExtension(P("a.b.7z"), P(".msi")), P("a.b.msi"));
}

TEST(ExtractionPathsTest, ParentChainListsEveryFolderBelowTheRoot) {
    struct Case {
        const char* path;
        std::vector<const char*> folders;
    } cases[] = {
        {"\\\\?\\C:\\a\\b\\file.txt", {"\\\\?\\C:\\a\\", "\\\\?\\C:\\a\\b\\"}},
        {"\\\\?\\C:\\a\\b\\", {"\\\\?\\C:\\a\\", "\\\\?\\C:\\a\\b\\"}},
        {"\\\\?\\C:\\file.txt", {}},
        {"C:\\a\\file", {"C:\\a\\"}},
        {"\\\\srv\\share\\a\\f", {"\\\\srv\\share\\a\\"}},
        {"\\\\?\\UNC\\srv\\share\\a\\b\\f", {"\\\\?\\UNC\\srv\\share\\a\\", "\\\\?\\UNC\\srv\\share\\a\\b\\"}},
        {"relative\\a\\f", {}},  // no root: nothing is created
        {"\\\\srv", {}},
    };
    for (const Case& c : cases) {
        std::vector<PathText> expected;
        for (const char* f : c.folders) {
            expected.push_back(P(f));
        }
        EXPECT_EQ(ParentFolderChain(P(c.path)), expected) << c.path;
    }
}

TEST(ExtractionPathsTest, PackageSubFolderFromTheProductCodeOrTheDigest) {
    const std::string digest = "0123456789abcdef0123456789abcdef";
    EXPECT_EQ(PackageSubFolderName(u"{12345678-1234-1234-1234-123456ABCDEF}", digest), P("6ABCDEF"));
    EXPECT_EQ(PackageSubFolderName(u"", digest), P("0123456"));
    EXPECT_EQ(PackageSubFolderName(u"{12}", digest), P("0123456"));          // fewer than 7 characters
    EXPECT_EQ(PackageSubFolderName(u"no brace at all", digest), P("0123456"));
    EXPECT_EQ(PackageSubFolderName(u"{1234-..\\..\\x}", digest), P("0123456"));  // would leave the folder
    EXPECT_EQ(PackageSubFolderName(u"", "ABCDEF0123"), P("ABCDEF0"));
}

// The digest is read from the footer unverified: only 7 hexadecimal digits name a folder.
TEST(ExtractionPathsTest, PackageSubFolderRefusesADigestThatIsNotHexadecimal) {
    for (const char* digest : {"..\\..\\x0123456789abcdef0123456", "012345", "", "01234/6789", "0123 56789",
                               "012345g789"}) {
        EXPECT_EQ(PackageSubFolderName(u"", digest), std::nullopt) << digest;
        EXPECT_EQ(PackageSubFolderName(u"{12}", digest), std::nullopt) << digest;
    }
    // A usable product code does not need the digest at all.
    EXPECT_EQ(PackageSubFolderName(u"{12345678-1234-1234-1234-123456ABCDEF}", "..\\..\\x"), P("6ABCDEF"));
}

}  // namespace
}  // namespace maglorin
