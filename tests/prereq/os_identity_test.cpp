#include "os_identity.h"

#include <gtest/gtest.h>

#include "configuration_test_text.h"

namespace maglorin {
namespace {

using test_support::Printable;

struct IdentityCase {
    OsVersionInfo info;
    bool sixtyFourBit;
    const char16_t* name;
    OsPlatform platform;
};

OsVersionInfo Nt(std::uint32_t major, std::uint32_t minor, std::uint16_t sp, bool workstation, bool extended = true) {
    OsVersionInfo info;
    info.extended = extended;
    info.platformId = 2;
    info.major = major;
    info.minor = minor;
    info.servicePackMajor = sp;
    info.workstation = workstation;
    return info;
}

OsVersionInfo Nine(std::uint32_t platform, std::uint32_t minor, std::uint32_t build, std::u16string sp) {
    OsVersionInfo info;
    info.platformId = platform;
    info.major = 4;
    info.minor = minor;
    info.buildNumber = build;
    info.servicePackText = std::move(sp);
    return info;
}

class OsNaming : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(OsNaming, NamesEveryRowOfTheTable) {
    const IdentityCase& c = GetParam();
    const OsIdentity identity = IdentifyOs(c.info, c.sixtyFourBit);
    EXPECT_EQ(Printable(identity.name), Printable(c.name));
    EXPECT_EQ(identity.platform, c.platform);
}

constexpr OsPlatform k9x = OsPlatform::Windows9x;
constexpr OsPlatform k32 = OsPlatform::Nt32;
constexpr OsPlatform k64 = OsPlatform::Nt64;

INSTANTIATE_TEST_SUITE_P(Windows9x, OsNaming, ::testing::Values(
    IdentityCase{Nine(0, 0, 0, u""), false, u"Windows 95", k9x},
    IdentityCase{Nine(1, 0, 951, u""), false, u"Windows 95 OSR", k9x},
    IdentityCase{Nine(1, 0, 950, u" C"), false, u"Windows 95 OSR2.5", k9x},
    IdentityCase{Nine(1, 0, 950, u" B"), false, u"Windows 95", k9x},
    IdentityCase{Nine(1, 0, 950, u"C"), false, u"Windows 95", k9x},  // the letter is the second character
    IdentityCase{Nine(1, 10, 1998, u" A"), false, u"Windows 98 SE", k9x},
    IdentityCase{Nine(1, 10, 1998, u" B"), false, u"Windows 98 SE", k9x},
    IdentityCase{Nine(1, 10, 1998, u""), false, u"Windows 98", k9x},
    IdentityCase{Nine(1, 90, 3000, u""), false, u"Windows Millennium", k9x},
    IdentityCase{Nine(1, 50, 0, u""), false, u"OsNotIdentified", k9x},
    // A 9x system is 9x even when asked as if it were 64-bit.
    IdentityCase{Nine(1, 90, 3000, u""), true, u"Windows Millennium", k9x}));

INSTANTIATE_TEST_SUITE_P(Nt6, OsNaming, ::testing::Values(
    IdentityCase{Nt(6, 1, 0, true), false, u"Windows 7 x86", k32},
    IdentityCase{Nt(6, 1, 1, true), true, u"Windows 7 x64 Service Pack 1", k64},
    IdentityCase{Nt(6, 1, 2, true), false, u"Windows 7 x86", k32},
    IdentityCase{Nt(6, 1, 1, false), true, u"Windows Server 2008 R2 x64 Service Pack 1", k64},
    IdentityCase{Nt(6, 1, 0, false), true, u"Windows Server 2008 R2 x64", k64},
    IdentityCase{Nt(6, 1, 0, false), false, u"OsNotIdentified", k32},
    IdentityCase{Nt(6, 0, 0, true), false, u"Windows Vista x86", k32},
    IdentityCase{Nt(6, 0, 1, true), true, u"Windows Vista x64 Service Pack 1", k64},
    IdentityCase{Nt(6, 0, 2, true), false, u"Windows Vista x86 Service Pack 2", k32},
    IdentityCase{Nt(6, 0, 3, true), false, u"Windows Vista x86", k32},
    IdentityCase{Nt(6, 0, 2, false), false, u"Windows Server 2008 x86", k32},
    IdentityCase{Nt(6, 0, 1, false), true, u"Windows Server 2008 x64", k64},
    IdentityCase{Nt(6, 2, 0, true), false, u"OsNotIdentified", k32},
    IdentityCase{Nt(10, 0, 0, true), true, u"OsNotIdentified", k64}));

INSTANTIATE_TEST_SUITE_P(Nt5AndOlder, OsNaming, ::testing::Values(
    IdentityCase{Nt(5, 2, 2, true), true, u"Windows XP x64 Service Pack 2", k64},
    IdentityCase{Nt(5, 2, 0, true), true, u"Windows XP x64", k64},
    IdentityCase{Nt(5, 2, 1, false), false, u"Windows Server 2003 x86 Service Pack 1", k32},
    IdentityCase{Nt(5, 2, 2, false), true, u"Windows Server 2003 x64 Service Pack 2", k64},
    IdentityCase{Nt(5, 2, 3, false), false, u"Windows Server 2003 x86", k32},
    IdentityCase{Nt(5, 1, 3, true), false, u"Windows XP x86 Service Pack 3", k32},
    IdentityCase{Nt(5, 1, 2, true), false, u"Windows XP x86 Service Pack 2", k32},
    IdentityCase{Nt(5, 1, 3, true, false), false, u"Windows XP x86", k32},  // no extended information
    IdentityCase{Nt(5, 1, 4, true), false, u"Windows XP x86", k32},
    IdentityCase{Nt(5, 0, 4, false), false, u"Windows 2000 Service Pack 4", k32},
    IdentityCase{Nt(5, 0, 5, false), false, u"Windows 2000", k32},
    IdentityCase{Nt(5, 0, 4, false, false), false, u"Windows 2000", k32},
    IdentityCase{Nt(4, 0, 6, true), false, u"Windows NT 4.0 Service Pack 6", k32},
    IdentityCase{Nt(4, 0, 6, true, false), false, u"Windows NT 4.0", k32},
    IdentityCase{Nt(3, 51, 7, true), false, u"Windows NT 4.0", k32},
    IdentityCase{Nt(5, 3, 0, true), false, u"OsNotIdentified", k32}));

TEST(OsIdentityVersion, KeepsTheNumbersForLaterReleases) {
    const OsIdentity identity = IdentifyOs(Nt(10, 0, 0, true), true);
    EXPECT_EQ(identity.major, 10u);
    EXPECT_EQ(identity.minor, 0u);
}

}  // namespace
}  // namespace maglorin
