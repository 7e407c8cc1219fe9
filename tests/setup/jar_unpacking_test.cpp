// The portable rules of JAR unpacking: which files are packed JARs, the target name, the
// unpacker's command line and the texts shown.
#include <gtest/gtest.h>

#include "jar_unpacking.h"

namespace maglorin {
namespace {

PathText P(std::string_view ascii) { return PathFromAscii(ascii); }

TEST(JarUnpackingTest, PackedJarNames) {
    struct Case {
        const char* name;
        bool packed;
    } cases[] = {
        {"a.jar.pack", true}, {"a.jar.PACK", true}, {"a.jar.Pack", true}, {".jar.pack", true},
        {"a.pack", false}, {"a.jar", false}, {"a.jarpack", false}, {"a.JAR.pack", false},
        {"a.jar.pack.gz", false}, {"pack", false}, {"", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPackedJarName(P(c.name)), c.packed) << c.name;
    }
    EXPECT_EQ(UnpackedJarPath(P("C:\\x\\lib\\a.jar.PACK")), P("C:\\x\\lib\\a.jar"));
}

TEST(JarUnpackingTest, CommandLineAndTexts) {
    EXPECT_EQ(UnpackCommandArguments(P("C:\\T\\log1.tmp"), P("C:\\x\\a.jar.pack"), P("C:\\x\\a.jar")),
              P("--verbose --log-file=\"C:\\T\\log1.tmp\" --remove-pack-file \"C:\\x\\a.jar.pack\" \"C:\\x\\a.jar\""));
    EXPECT_EQ(JarUnpackFailureText(P("a.jar"), P("bad magic")),
              P("The a.jar file can't be unpacked. Error message: bad magic"));
}

}  // namespace
}  // namespace maglorin
