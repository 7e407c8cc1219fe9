// The README's contact sheet (docs/contact-sheet.png) shows what the build makes now: the same
// pixels as the sheet the readme-pictures target rendered from the sample kits in this tree.
// After a change that alters frames or captions on purpose, copy the new one:
//     cmake --build --preset native --target readme-pictures
//     cp build/native/docs/contact-sheet.png docs/contact-sheet.png
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/png_reader.h"

namespace maglorin {
namespace {

TEST(ReadmePicture, TheCommittedContactSheetIsTheOneTheBuildMakes) {
    const char* source = std::getenv("MAGLORIN_SOURCE");
    ASSERT_NE(source, nullptr) << "MAGLORIN_SOURCE names the source tree";
    DecodedPicture committed, built;
    std::string error;
    ASSERT_TRUE(ReadPngFile(std::string(source) + "/docs/contact-sheet.png", committed, error)) << error;
    ASSERT_TRUE(ReadPngFile(MAGLORIN_README_SHEET, built, error)) << MAGLORIN_README_SHEET << ": " << error;
    ASSERT_EQ(committed.width, built.width);
    ASSERT_EQ(committed.height, built.height);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < built.pixels.size(); ++i) differing += committed.pixels[i] != built.pixels[i];
    EXPECT_EQ(differing, 0u) << "docs/contact-sheet.png is stale: copy " << MAGLORIN_README_SHEET << " over it";
}

}  // namespace
}  // namespace maglorin
