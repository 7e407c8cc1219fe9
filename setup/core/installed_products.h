#pragma once
// What setup asks the installer service about products and installer databases. The questions
// are portable so the decisions built on them (the same package installed already, the
// minor-upgrade test, the installed instances) are tested natively; in setup the answers come
// from msi.dll (win32/msi_library_win32.h).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "version_number.h"

namespace maglorin {

// The installed state the installer service reports for a product installed for this user or
// for the machine.
inline constexpr std::int32_t kProductStateInstalled = 5;

class InstalledProducts {
public:
    virtual ~InstalledProducts() = default;
    // Product codes related to an upgrade code, in the service's order; empty when none.
    virtual std::vector<std::u16string> RelatedProducts(std::u16string_view upgradeCode) = 0;
    // A product's information ("PackageCode", "VersionString", "ProductName", ...); nullopt when
    // the product is unknown or the property cannot be read.
    virtual std::optional<std::u16string> ProductInfo(std::u16string_view productCode,
                                                      std::u16string_view property) = 0;
    virtual std::int32_t ProductState(std::u16string_view productCode) = 0;
    // A value of the Property table of an installer database opened read-only; nullopt when the
    // database cannot be opened or has no such property.
    virtual std::optional<std::u16string> DatabaseProperty(std::u16string_view databasePath,
                                                           std::u16string_view property) = 0;
};

// The product code of an installed copy of this very package: the first product related to
// upgradeCode whose installed package code equals packageCode (GUID texts compared without regard
// to case). nullopt when either code is empty or no related product matches.
std::optional<std::u16string> FindSamePackageInstall(InstalledProducts& products,
                                                     std::u16string_view upgradeCode,
                                                     std::u16string_view packageCode);

// True when the database's product is installed (state 5) in a version lower than the
// database's ProductVersion. Any question left unanswered makes it false.
bool IsMinorUpgrade(InstalledProducts& products, std::u16string_view databasePath);

// GUID texts ("{...}") are equal whatever the case of their hexadecimal digits.
bool SameGuidText(std::u16string_view a, std::u16string_view b);

}  // namespace maglorin
