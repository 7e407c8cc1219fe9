#include "os_identity.h"

namespace maglorin {

namespace {

constexpr std::uint32_t kPlatformWin32s = 0;
constexpr std::uint32_t kPlatformWindows = 1;

std::u16string ServicePack(std::uint16_t number, std::uint16_t highest) {
    if (number < 1 || number > highest) return u"";
    return u" Service Pack " + std::u16string(1, static_cast<char16_t>(u'0' + number));
}

char16_t SecondCharacter(const std::u16string& text) { return text.size() >= 2 ? text[1] : u'\0'; }

std::u16string Name9x(const OsVersionInfo& info) {
    if (info.platformId == kPlatformWin32s) return u"Windows 95";
    if (info.major == 4 && info.minor == 0) {
        if (info.buildNumber >= 951) return u"Windows 95 OSR";
        if (SecondCharacter(info.servicePackText) == u'C') return u"Windows 95 OSR2.5";
        return u"Windows 95";
    }
    if (info.major == 4 && info.minor == 10) {
        const char16_t letter = SecondCharacter(info.servicePackText);
        return letter == u'A' || letter == u'B' ? u"Windows 98 SE" : u"Windows 98";
    }
    if (info.major == 4 && info.minor == 90) return u"Windows Millennium";
    return kOsNotIdentified;
}

std::u16string NameNt6(const OsVersionInfo& info, bool x64) {
    const std::u16string bits = x64 ? u" x64" : u" x86";
    const std::uint16_t sp = info.servicePackMajor;
    if (info.minor == 1) {
        if (info.workstation) return u"Windows 7" + bits + ServicePack(sp, 1);
        if (x64) return u"Windows Server 2008 R2 x64" + ServicePack(sp, 1);
        return kOsNotIdentified;
    }
    if (info.minor == 0) {
        if (info.workstation) return u"Windows Vista" + bits + ServicePack(sp, 2);
        return u"Windows Server 2008" + bits;
    }
    return kOsNotIdentified;
}

std::u16string NameNt5(const OsVersionInfo& info, bool x64) {
    const std::uint16_t sp = info.servicePackMajor;
    // Older systems name their service pack only through the extended information.
    const std::uint16_t knownSp = info.extended ? sp : 0;
    switch (info.minor) {
    case 2:
        if (info.workstation) return u"Windows XP x64" + ServicePack(sp, 2);
        return std::u16string(u"Windows Server 2003") + (x64 ? u" x64" : u" x86") + ServicePack(sp, 2);
    case 1: return u"Windows XP x86" + ServicePack(knownSp, 3);
    case 0: return u"Windows 2000" + ServicePack(knownSp, 4);
    default: return kOsNotIdentified;
    }
}

}  // namespace

OsIdentity IdentifyOs(const OsVersionInfo& info, bool sixtyFourBitWindows) {
    OsIdentity identity;
    identity.major = info.major;
    identity.minor = info.minor;
    if (info.platformId == kPlatformWin32s || info.platformId == kPlatformWindows) {
        identity.platform = OsPlatform::Windows9x;
        identity.name = Name9x(info);
        return identity;
    }
    identity.platform = sixtyFourBitWindows ? OsPlatform::Nt64 : OsPlatform::Nt32;
    const bool x64 = identity.platform == OsPlatform::Nt64;
    if (info.platformId != 2) {
        identity.name = kOsNotIdentified;
    } else if (info.major < 5) {
        identity.name = u"Windows NT 4.0" + ServicePack(info.extended ? info.servicePackMajor : 0, 6);
    } else if (info.major == 5) {
        identity.name = NameNt5(info, x64);
    } else if (info.major == 6) {
        identity.name = NameNt6(info, x64);
    } else {
        identity.name = kOsNotIdentified;
    }
    return identity;
}

}  // namespace maglorin
