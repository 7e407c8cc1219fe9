// Which format the export writes for the dialog's answer: the extension typed, else the type chosen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/dialog_filter.h"
#include "ui/export_format.h"

namespace maglorin {
namespace {

TEST(ExportFormat, TheTypedExtensionDecidesElseTheChosenFileType) {
    struct Case {
        unsigned filterIndex;
        std::wstring name;
        ExportFormat expected;
    };
    const std::vector<Case> cases = {
        {1, L"C:\\out\\frame.bmp", ExportFormat::Bmp},
        {2, L"C:\\out\\frame.png", ExportFormat::Png},
        {1, L"C:\\out\\frame.png", ExportFormat::Png},
        {2, L"C:\\out\\frame.bmp", ExportFormat::Bmp},
        {1, L"C:\\out\\FRAME.PNG", ExportFormat::Png},
        {2, L"C:\\out\\Frame.Bmp", ExportFormat::Bmp},
        {2, L"C:\\out\\frame", ExportFormat::Png},
        {1, L"C:\\out\\frame", ExportFormat::Bmp},
        {0, L"C:\\out\\frame", ExportFormat::Bmp},
        {3, L"C:\\out\\frame", ExportFormat::Bmp},
        {2, L"C:\\out\\frame.jpg", ExportFormat::Png},
        {1, L"C:\\out\\frame.png.jpg", ExportFormat::Bmp},
        // A dot in a folder name is not an extension.
        {2, L"C:\\shots.bmp\\frame", ExportFormat::Png},
        {1, L"C:/shots.png/frame", ExportFormat::Bmp},
        {2, L"", ExportFormat::Png},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseExportFormat(c.filterIndex, c.name), c.expected)
            << std::string(c.name.begin(), c.name.end()) << " index " << c.filterIndex;
    }
}

TEST(ExportFormat, TheDialogListsTheBitmapAsBeforeThenPng) {
    using namespace std::string_literals;
    EXPECT_EQ(ConvertFilter(kExportFilter), L"24-bit Bitmap \0*.bmp\0PNG Image (*.png)\0*.png\0"s);
}

}  // namespace
}  // namespace maglorin
