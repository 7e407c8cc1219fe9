#include "installed_products.h"

namespace maglorin {

namespace {

char16_t LowerAscii(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

}  // namespace

bool SameGuidText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<std::u16string> FindSamePackageInstall(InstalledProducts& products,
                                                     std::u16string_view upgradeCode,
                                                     std::u16string_view packageCode) {
    if (upgradeCode.empty() || packageCode.empty()) {
        return std::nullopt;
    }
    for (const std::u16string& productCode : products.RelatedProducts(upgradeCode)) {
        const auto installedPackage = products.ProductInfo(productCode, u"PackageCode");
        if (installedPackage && SameGuidText(*installedPackage, packageCode)) {
            return productCode;
        }
    }
    return std::nullopt;
}

bool IsMinorUpgrade(InstalledProducts& products, std::u16string_view databasePath) {
    const auto productCode = products.DatabaseProperty(databasePath, u"ProductCode");
    const auto productVersion = products.DatabaseProperty(databasePath, u"ProductVersion");
    if (!productCode || !productVersion || productCode->empty()) {
        return false;
    }
    if (products.ProductState(*productCode) != kProductStateInstalled) {
        return false;
    }
    const auto installedVersion = products.ProductInfo(*productCode, u"VersionString");
    if (!installedVersion) {
        return false;
    }
    return VersionNumber::Parse(*installedVersion) < VersionNumber::Parse(*productVersion);
}

}  // namespace maglorin
