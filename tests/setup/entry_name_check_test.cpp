// Which package names may be joined to the extraction folder.
#include <gtest/gtest.h>

#include "entry_name_check.h"
#include "package_test_support.h"

namespace maglorin {
namespace {

TEST(EntryNameCheckTest, RelativePathsBelowTheFolderPass) {
    const char* safe[] = {"setup.ini", "decoder.dll", "ABCDEF1\\setup.msi", "a\\b\\c\\FILES.7z", "1033.dll",
                          "sub/file.txt", ".hidden", "a..b", "CONSOLE.txt", "COM10", "LPT", "auxiliary\\x",
                          "name with spaces.txt", "x.y.z"};
    for (const char* name : safe) {
        EXPECT_TRUE(IsSafeEntryName(test_support::Name(name))) << name;
    }
}

TEST(EntryNameCheckTest, NamesThatLeaveTheFolderOrNameADeviceAreRefused) {
    const char* unsafe[] = {
        "",                                          // the folder itself
        "..", "..\\x", "a\\..\\..\\x", "a/../../x", "a\\..",  // parent components
        ".", "a\\.\\b",                              // current-folder components
        "...", "a\\. .\\b", "dir.\\x", "dir \\x",     // Windows strips trailing dots and spaces
        "\\x", "/x", "\\\\server\\share\\x", "\\\\?\\C:\\x", "\\\\.\\PhysicalDrive0",  // absolute
        "C:\\x", "C:x", "c:", "file:stream",          // drive letters and streams
        "a\\\\b", "a\\",                             // empty components
        "CON", "con", "PRN", "AUX", "NUL", "nul.txt", "sub\\NUL", "COM1", "com9.log", "LPT1", "lpt0",
        "CONIN$", "conout$", "NUL .txt",            // devices, with or without extension
        "a<b", "a>b", "a|b", "a?b", "a*b", "a\"b",   // characters Windows refuses
    };
    for (const char* name : unsafe) {
        EXPECT_FALSE(IsSafeEntryName(test_support::Name(name))) << '"' << name << '"';
    }
    PackageName control = test_support::Name("ab");
    control[1] = PathChar{0x01};
    EXPECT_FALSE(IsSafeEntryName(control));
    control[1] = PathChar{0};
    EXPECT_FALSE(IsSafeEntryName(control));
    PackageName superscript = test_support::Name("COM1");
    superscript[3] = PathChar{0xB9};
    EXPECT_FALSE(IsSafeEntryName(superscript));
}

}  // namespace
}  // namespace maglorin
