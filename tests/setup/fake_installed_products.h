#pragma once
// An installer service made of tables, for the decisions that ask about installed products.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "installed_products.h"

namespace maglorin::test_support {

class FakeInstalledProducts final : public InstalledProducts {
public:
    std::map<std::u16string, std::vector<std::u16string>> related;                // upgrade code -> products
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> info;     // (product, property)
    std::map<std::u16string, std::int32_t> states;
    std::map<std::pair<std::u16string, std::u16string>, std::u16string> database; // (path, property)
    std::vector<std::u16string> asked;  // "product:property" of every ProductInfo question

    std::vector<std::u16string> RelatedProducts(std::u16string_view upgradeCode) override {
        const auto it = related.find(std::u16string(upgradeCode));
        return it == related.end() ? std::vector<std::u16string>{} : it->second;
    }
    std::optional<std::u16string> ProductInfo(std::u16string_view productCode, std::u16string_view property) override {
        asked.push_back(std::u16string(productCode) + u":" + std::u16string(property));
        return Find(info, productCode, property);
    }
    std::int32_t ProductState(std::u16string_view productCode) override {
        const auto it = states.find(std::u16string(productCode));
        return it == states.end() ? -1 : it->second;
    }
    std::optional<std::u16string> DatabaseProperty(std::u16string_view path, std::u16string_view property) override {
        return Find(database, path, property);
    }

    // A product as an installed one answers: its name, location, version and package code.
    void Install(const std::u16string& product, const std::u16string& name, const std::u16string& version,
                 const std::u16string& location = u"C:\\Program Files\\Kit\\") {
        info[{product, u"ProductName"}] = name;
        info[{product, u"VersionString"}] = version;
        info[{product, u"InstallLocation"}] = location;
        states[product] = kProductStateInstalled;
    }

private:
    static std::optional<std::u16string> Find(const std::map<std::pair<std::u16string, std::u16string>, std::u16string>& table,
                                              std::u16string_view a, std::u16string_view b) {
        const auto it = table.find({std::u16string(a), std::u16string(b)});
        if (it == table.end()) {
            return std::nullopt;
        }
        return it->second;
    }
};

}  // namespace maglorin::test_support
