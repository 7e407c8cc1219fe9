# The product's identity, in one place. The version is the CMake project version; the codes
# derive from it and from the tree's architecture, so a new version gets new codes, a rebuild of
# the same version keeps them, and the 32-bit and 64-bit packages (different products to the
# installer service) never share one.
#   MAGLORIN_MSI_ARCH         x86 or x64: the tree's architecture
#   MAGLORIN_PRODUCT_VERSION  three-part version of the installer database (major.minor.patch)
#   MAGLORIN_UPGRADE_CODE     the product family: never changes, so every version finds the others
#   MAGLORIN_PRODUCT_CODE     per version and architecture: name-based from the upgrade code
#   MAGLORIN_PACKAGE_CODE     per version and architecture: name-based likewise, distinct
#   MAGLORIN_PACKAGE_SUBFOLDER the 7 characters before the product code's closing brace: the
#                              folder below the extraction folder that the archives unpack into
set(MAGLORIN_UPGRADE_CODE "{F2D4E624-B468-44CB-BFC5-636CF15C442E}")

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(MAGLORIN_MSI_ARCH x64)
else()
    set(MAGLORIN_MSI_ARCH x86)
endif()

set(patch "${PROJECT_VERSION_PATCH}")
if(patch STREQUAL "")
    set(patch 0)
endif()
set(MAGLORIN_PRODUCT_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${patch}")

function(maglorin_product_guid var name)
    string(REGEX REPLACE "[{}]" "" namespace "${MAGLORIN_UPGRADE_CODE}")
    string(UUID guid NAMESPACE "${namespace}" NAME "${name} ${MAGLORIN_PRODUCT_VERSION} ${MAGLORIN_MSI_ARCH}" TYPE SHA1 UPPER)
    set(${var} "{${guid}}" PARENT_SCOPE)
endfunction()
maglorin_product_guid(MAGLORIN_PRODUCT_CODE "ProductCode")
maglorin_product_guid(MAGLORIN_PACKAGE_CODE "PackageCode")
string(SUBSTRING "${MAGLORIN_PRODUCT_CODE}" 30 7 MAGLORIN_PACKAGE_SUBFOLDER)
