#pragma once
// Which Windows setup runs on, as the launch conditions name it ("Windows 7 x64 Service Pack 1",
// "Windows XP x86 Service Pack 3", "OsNotIdentified"), computed from the system's version
// information so every row of the naming rules can be tested.

#include <cstdint>
#include <string>

namespace maglorin {

enum class OsPlatform { Windows9x, Nt32, Nt64 };

// The fields of the system's version information the naming reads.
struct OsVersionInfo {
    bool extended = false;            // the extended form (service pack, product type) was available
    std::uint32_t platformId = 2;     // 0 Win32s, 1 Windows 9x, 2 NT
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t buildNumber = 0;    // the whole 32-bit field as the system fills it
    std::u16string servicePackText;   // the service-pack text (9x: " A", " B", " C")
    std::uint16_t servicePackMajor = 0;
    bool workstation = false;         // product type: workstation
};

struct OsIdentity {
    OsPlatform platform = OsPlatform::Nt32;
    std::u16string name;
    std::uint32_t major = 0;  // NT version, for checks that hold on every later release
    std::uint32_t minor = 0;
};

inline constexpr char16_t kOsNotIdentified[] = u"OsNotIdentified";

// `sixtyFourBitWindows`: the machine runs 64-bit Windows (a 64-bit process, or a 32-bit one
// under WOW64).
OsIdentity IdentifyOs(const OsVersionInfo& info, bool sixtyFourBitWindows);

}  // namespace maglorin
