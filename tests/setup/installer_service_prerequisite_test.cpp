#include "installer_service_prerequisite.h"

#include <gtest/gtest.h>

#include "configuration_test_text.h"

namespace maglorin {
namespace {

bool Lists(std::u16string_view ini) {
    const std::vector<std::byte> source = test_support::IniSource(ini);
    return ListsInstallerServicePrerequisite(ConfigurationFile::Parse(std::span<const std::byte>(source)));
}

TEST(InstallerServicePrerequisite, FoundByTheFirstSearchOfAListedPrerequisite) {
    EXPECT_TRUE(Lists(u"[PREREQUISITES]\r\nApp1=Runtime\r\nApp2=WI\r\n"
                      u"[Runtime]\r\nSearchString1=[SystemFolder]msvcr.dll\r\n"
                      u"[WI]\r\nSearchType1=0\r\nSearchString1=[systemfolder]MSI.DLL\r\n"));
}

TEST(InstallerServicePrerequisite, NotFoundOtherwise) {
    struct Case {
        const char* why;
        std::u16string ini;
    };
    const Case cases[] = {
        {"no prerequisites", u"[GeneralOptions]\r\nMinWIVer=3.1\r\n"},
        {"only a later search looks for it",
         u"[PREREQUISITES]\r\nApp1=WI\r\n[WI]\r\nSearchString1=[SystemFolder]a.dll\r\nSearchString2=[SystemFolder]msi.dll\r\n"},
        {"listed after a gap in the numbering", u"[PREREQUISITES]\r\nApp1=A\r\nApp3=WI\r\n[A]\r\n[WI]\r\nSearchString1=[SystemFolder]msi.dll\r\n"},
        {"a section nobody lists", u"[PREREQUISITES]\r\nApp1=A\r\n[A]\r\n[WI]\r\nSearchString1=[SystemFolder]msi.dll\r\n"},
        {"another file of that name", u"[PREREQUISITES]\r\nApp1=WI\r\n[WI]\r\nSearchString1=C:\\msi.dll\r\n"},
    };
    for (const Case& c : cases) EXPECT_FALSE(Lists(c.ini)) << c.why;
}

}  // namespace
}  // namespace maglorin
