#pragma once
// MsiLibrary: the one binding of setup to the installer service's library. msi.dll is loaded by
// name and its functions are bound with GetProcAddress; a function the system lacks makes only
// the questions that need it unanswerable. Every other part of setup (instances, the
// minor-upgrade test, detection searches, the Windows Installer version) asks through here.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "installed_products.h"
#include "win32_handles.h"
#include "wide_text.h"

namespace maglorin {

class MsiLibrary final : public InstalledProducts {
public:
    MsiLibrary() = default;
    MsiLibrary(const MsiLibrary&) = delete;
    MsiLibrary& operator=(const MsiLibrary&) = delete;

    // Loads msi.dll and binds what it offers. False when the library cannot be loaded.
    [[nodiscard]] bool Load();
    bool IsLoaded() const { return module_.IsValid(); }

    // InstalledProducts
    std::vector<std::u16string> RelatedProducts(std::u16string_view upgradeCode) override;
    std::optional<std::u16string> ProductInfo(std::u16string_view productCode,
                                              std::u16string_view property) override;
    std::int32_t ProductState(std::u16string_view productCode) override;
    std::optional<std::u16string> DatabaseProperty(std::u16string_view databasePath,
                                                   std::u16string_view property) override;

    // A database opened read-only; invalid when it cannot be opened.
    MsiHandle OpenDatabaseReadOnly(std::u16string_view path);
    // Every row's first field of a query on an open database; nullopt when the query fails.
    std::optional<std::vector<std::u16string>> QueryFirstColumn(const MsiHandle& database,
                                                                std::u16string_view query);

    // Product information in a given installation context (MsiGetProductInfoExW; userSid empty
    // for the machine or the current user).
    std::optional<std::u16string> ProductInfoEx(std::u16string_view productCode, std::u16string_view userSid,
                                                std::uint32_t context, std::u16string_view property);
    // The key path of a component of a product and its installed state (MsiGetComponentPathW).
    struct ComponentPath {
        std::int32_t state = -1;  // INSTALLSTATE
        std::u16string path;
    };
    ComponentPath GetComponentPath(std::u16string_view productCode, std::u16string_view componentCode);
    // The component's key path wherever it is installed (MsiLocateComponentW).
    ComponentPath LocateComponent(std::u16string_view componentCode);
    // The products that use a component, in the service's order.
    std::vector<std::u16string> ComponentClients(std::u16string_view componentCode);
    // A file's version resource as the installer service reads it ("5.0.2600.0"); nullopt when
    // the file has none.
    std::optional<std::u16string> FileVersion(std::u16string_view path);

private:
    template <typename Function>
    Function Bind(const char* name) const;

    LibraryHandle module_;
};

}  // namespace maglorin
