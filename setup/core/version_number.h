#pragma once
// Four-part version numbers as the configuration, the installer service and file version
// resources write them: major.minor.build.revision.

#include <array>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace maglorin {

class VersionNumber {
public:
    constexpr VersionNumber() = default;
    constexpr VersionNumber(std::int32_t major, std::int32_t minor, std::int32_t build,
                            std::int32_t revision)
        : parts_{major, minor, build, revision}, partCount_(4) {}

    // Takes the first four runs of decimal digits, whatever separates them ("v2-5 build 7" is
    // 2.5.7.0). Missing parts are 0. A part above 2,147,483,647 makes the whole number 0.0.0.0.
    static VersionNumber Parse(std::u16string_view text);

    [[nodiscard]] std::int32_t Major() const { return parts_[0]; }
    [[nodiscard]] std::int32_t Minor() const { return parts_[1]; }
    [[nodiscard]] std::int32_t Build() const { return parts_[2]; }
    [[nodiscard]] std::int32_t Revision() const { return parts_[3]; }
    [[nodiscard]] std::int32_t Part(int index) const { return parts_[index]; }
    [[nodiscard]] int PartCount() const { return partCount_; }  // digit runs read by Parse, 0 to 4

    [[nodiscard]] bool IsZero() const;                  // 0.0.0.0
    [[nodiscard]] bool IsAllMaximum() const;            // 65535.65535.65535.65535

    // Parts up to the last one that is neither 0 nor 65535, at least two ("2.0" for 2.0.0.0);
    // "0.0.0.0" when every part is 0.
    std::u16string ToText() const;

    // Part by part from major to revision; the part count plays no role.
    friend std::strong_ordering operator<=>(const VersionNumber& a, const VersionNumber& b) {
        return a.parts_ <=> b.parts_;
    }
    friend bool operator==(const VersionNumber& a, const VersionNumber& b) {
        return a.parts_ == b.parts_;
    }

private:
    std::array<std::int32_t, 4> parts_{};
    int partCount_ = 0;
};

}  // namespace maglorin
