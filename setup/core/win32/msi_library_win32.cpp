#include "msi_library_win32.h"

#include <vector>

namespace maglorin {

namespace {

// The installer service's functions as setup calls them (msi.h, msiquery.h).
using OpenDatabaseFunction = UINT(WINAPI*)(LPCWSTR, LPCWSTR, unsigned long*);
using OpenViewFunction = UINT(WINAPI*)(unsigned long, LPCWSTR, unsigned long*);
using ViewExecuteFunction = UINT(WINAPI*)(unsigned long, unsigned long);
using ViewFetchFunction = UINT(WINAPI*)(unsigned long, unsigned long*);
using RecordGetStringFunction = UINT(WINAPI*)(unsigned long, UINT, LPWSTR, DWORD*);
using EnumRelatedFunction = UINT(WINAPI*)(LPCWSTR, DWORD, DWORD, LPWSTR);
using ProductInfoFunction = UINT(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, DWORD*);
using ProductInfoExFunction = UINT(WINAPI*)(LPCWSTR, LPCWSTR, int, LPCWSTR, LPWSTR, DWORD*);
using QueryStateFunction = int(WINAPI*)(LPCWSTR);
using ComponentPathFunction = int(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, DWORD*);
using LocateComponentFunction = int(WINAPI*)(LPCWSTR, LPWSTR, DWORD*);
using EnumClientsFunction = UINT(WINAPI*)(LPCWSTR, DWORD, LPWSTR);
using FileVersionFunction = UINT(WINAPI*)(LPCWSTR, LPWSTR, DWORD*, LPWSTR, DWORD*);

constexpr UINT kSuccess = 0;
constexpr UINT kMoreData = 234;     // ERROR_MORE_DATA
constexpr UINT kNoMoreItems = 259;  // ERROR_NO_MORE_ITEMS
constexpr DWORD kGuidChars = 39;    // "{...}" and its terminator
constexpr DWORD kEnumerationLimit = 4096;  // no system has more related products or clients
// MSIDBOPEN_READONLY is the persist mode 0 passed as a pointer.
const LPCWSTR kOpenReadOnly = nullptr;

std::wstring Wide(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

// Calls `get(buffer, &length)` with a growing buffer; `ok` tells the success code.
template <typename Get>
std::optional<std::u16string> ReadString(Get get, UINT okCode = kSuccess) {
    std::vector<wchar_t> buffer(256);
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const UINT status = get(buffer.data(), &length);
        if (status == okCode) {
            return FromWide(buffer.data(), length);
        }
        if (status != kMoreData) {
            return std::nullopt;
        }
        buffer.resize(static_cast<std::size_t>(length) + 1);
    }
    return std::nullopt;
}

// An enumeration of GUID texts by index until the service reports no more items.
template <typename Enumerate>
std::vector<std::u16string> EnumerateGuids(Enumerate enumerate) {
    std::vector<std::u16string> codes;
    for (DWORD index = 0; index < kEnumerationLimit; ++index) {
        wchar_t code[kGuidChars] = {};
        if (enumerate(index, code) != kSuccess) {
            break;
        }
        codes.push_back(FromWide(code, wcsnlen(code, kGuidChars)));
    }
    return codes;
}

}  // namespace

template <typename Function>
Function MsiLibrary::Bind(const char* name) const {
    if (!module_) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_.Get(), name)));
}

bool MsiLibrary::Load() {
    if (!module_) {
        module_.Reset(::LoadLibraryW(L"msi.dll"));
    }
    return module_.IsValid();
}

std::vector<std::u16string> MsiLibrary::RelatedProducts(std::u16string_view upgradeCode) {
    const auto enumerate = Bind<EnumRelatedFunction>("MsiEnumRelatedProductsW");
    if (!enumerate) {
        return {};
    }
    const std::wstring code = Wide(upgradeCode);
    return EnumerateGuids([&](DWORD index, wchar_t* product) { return enumerate(code.c_str(), 0, index, product); });
}

std::optional<std::u16string> MsiLibrary::ProductInfo(std::u16string_view productCode, std::u16string_view property) {
    const auto info = Bind<ProductInfoFunction>("MsiGetProductInfoW");
    if (!info) {
        return std::nullopt;
    }
    const std::wstring code = Wide(productCode);
    const std::wstring name = Wide(property);
    return ReadString([&](wchar_t* buffer, DWORD* length) { return info(code.c_str(), name.c_str(), buffer, length); });
}

std::int32_t MsiLibrary::ProductState(std::u16string_view productCode) {
    const auto query = Bind<QueryStateFunction>("MsiQueryProductStateW");
    if (!query) {
        return -1;  // INSTALLSTATE_UNKNOWN
    }
    return query(Wide(productCode).c_str());
}

MsiHandle MsiLibrary::OpenDatabaseReadOnly(std::u16string_view path) {
    MsiHandle database;
    const auto open = Bind<OpenDatabaseFunction>("MsiOpenDatabaseW");
    if (open && open(Wide(path).c_str(), kOpenReadOnly, database.Receive()) != kSuccess) {
        database.Reset();
    }
    return database;
}

std::optional<std::vector<std::u16string>> MsiLibrary::QueryFirstColumn(const MsiHandle& database,
                                                                         std::u16string_view query) {
    const auto openView = Bind<OpenViewFunction>("MsiDatabaseOpenViewW");
    const auto execute = Bind<ViewExecuteFunction>("MsiViewExecute");
    const auto fetch = Bind<ViewFetchFunction>("MsiViewFetch");
    const auto getString = Bind<RecordGetStringFunction>("MsiRecordGetStringW");
    MsiHandle view;
    if (!database || !openView || !execute || !fetch || !getString ||
        openView(database.Get(), Wide(query).c_str(), view.Receive()) != kSuccess ||
        execute(view.Get(), 0) != kSuccess) {
        return std::nullopt;
    }
    std::vector<std::u16string> values;
    for (DWORD row = 0; row < kEnumerationLimit; ++row) {
        MsiHandle record;
        if (fetch(view.Get(), record.Receive()) != kSuccess) {
            break;
        }
        const auto value = ReadString([&](wchar_t* buffer, DWORD* length) {
            return getString(record.Get(), 1, buffer, length);
        });
        if (!value) {
            return std::nullopt;
        }
        values.push_back(*value);
    }
    return values;
}

std::optional<std::u16string> MsiLibrary::DatabaseProperty(std::u16string_view databasePath,
                                                           std::u16string_view property) {
    // Property names are identifiers; anything else could change the query.
    for (const char16_t c : property) {
        const bool identifier = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                                (c >= u'0' && c <= u'9') || c == u'_' || c == u'.';
        if (!identifier) {
            return std::nullopt;
        }
    }
    const MsiHandle database = OpenDatabaseReadOnly(databasePath);
    const std::u16string query =
        u"SELECT `Value` FROM `Property` WHERE `Property` = '" + std::u16string(property) + u"'";
    const auto values = QueryFirstColumn(database, query);
    if (!values || values->empty()) {
        return std::nullopt;
    }
    return values->front();
}

std::optional<std::u16string> MsiLibrary::ProductInfoEx(std::u16string_view productCode, std::u16string_view userSid,
                                                        std::uint32_t context, std::u16string_view property) {
    const auto info = Bind<ProductInfoExFunction>("MsiGetProductInfoExW");
    if (!info) {
        return std::nullopt;
    }
    const std::wstring code = Wide(productCode);
    const std::wstring sid = Wide(userSid);
    const std::wstring name = Wide(property);
    return ReadString([&](wchar_t* buffer, DWORD* length) {
        return info(code.c_str(), sid.empty() ? nullptr : sid.c_str(), static_cast<int>(context), name.c_str(),
                    buffer, length);
    });
}

MsiLibrary::ComponentPath MsiLibrary::GetComponentPath(std::u16string_view productCode,
                                                       std::u16string_view componentCode) {
    ComponentPath result;
    const auto get = Bind<ComponentPathFunction>("MsiGetComponentPathW");
    if (!get) {
        return result;
    }
    const std::wstring product = Wide(productCode);
    const std::wstring component = Wide(componentCode);
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    DWORD length = static_cast<DWORD>(buffer.size());
    result.state = get(product.c_str(), component.c_str(), buffer.data(), &length);
    if (length >= buffer.size()) {  // the path did not fit: ask again with room for it
        buffer.resize(static_cast<std::size_t>(length) + 1);
        length = static_cast<DWORD>(buffer.size());
        result.state = get(product.c_str(), component.c_str(), buffer.data(), &length);
    }
    result.path = FromWide(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
    return result;
}

MsiLibrary::ComponentPath MsiLibrary::LocateComponent(std::u16string_view componentCode) {
    ComponentPath result;
    const auto locate = Bind<LocateComponentFunction>("MsiLocateComponentW");
    if (!locate) {
        return result;
    }
    const std::wstring component = Wide(componentCode);
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    DWORD length = static_cast<DWORD>(buffer.size());
    result.state = locate(component.c_str(), buffer.data(), &length);
    if (length >= buffer.size()) {
        buffer.resize(static_cast<std::size_t>(length) + 1);
        length = static_cast<DWORD>(buffer.size());
        result.state = locate(component.c_str(), buffer.data(), &length);
    }
    result.path = FromWide(buffer.data(), wcsnlen(buffer.data(), buffer.size()));
    return result;
}

std::vector<std::u16string> MsiLibrary::ComponentClients(std::u16string_view componentCode) {
    const auto enumerate = Bind<EnumClientsFunction>("MsiEnumClientsW");
    if (!enumerate) {
        return {};
    }
    const std::wstring component = Wide(componentCode);
    return EnumerateGuids([&](DWORD index, wchar_t* product) { return enumerate(component.c_str(), index, product); });
}

std::optional<std::u16string> MsiLibrary::FileVersion(std::u16string_view path) {
    const auto version = Bind<FileVersionFunction>("MsiGetFileVersionW");
    if (!version) {
        return std::nullopt;
    }
    const std::wstring file = Wide(path);
    return ReadString([&](wchar_t* buffer, DWORD* length) {
        return version(file.c_str(), buffer, length, nullptr, nullptr);
    });
}

}  // namespace maglorin
