# The product's identity, in one place. The version is the CMake project version; the codes
# derive from it, so a new version gets new codes and a rebuild of the same version keeps them.
#   MAGLORIN_PRODUCT_VERSION  three-part version of the installer database (major.minor.patch)
#   MAGLORIN_UPGRADE_CODE     the product family: never changes, so every version finds the others
#   MAGLORIN_PRODUCT_CODE     per version: name-based from the upgrade code and the version
#   MAGLORIN_PACKAGE_CODE     per version: name-based likewise, distinct from the product code
#   MAGLORIN_PACKAGE_SUBFOLDER the 7 characters before the product code's closing brace: the
#                              folder below the extraction folder that the archives unpack into
set(MAGLORIN_UPGRADE_CODE "{F2D4E624-B468-44CB-BFC5-636CF15C442E}")

set(patch "${PROJECT_VERSION_PATCH}")
if(patch STREQUAL "")
    set(patch 0)
endif()
set(MAGLORIN_PRODUCT_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${patch}")

function(maglorin_product_guid var name)
    string(REGEX REPLACE "[{}]" "" namespace "${MAGLORIN_UPGRADE_CODE}")
    string(UUID guid NAMESPACE "${namespace}" NAME "${name} ${MAGLORIN_PRODUCT_VERSION}" TYPE SHA1 UPPER)
    set(${var} "{${guid}}" PARENT_SCOPE)
endfunction()
maglorin_product_guid(MAGLORIN_PRODUCT_CODE "ProductCode")
maglorin_product_guid(MAGLORIN_PACKAGE_CODE "PackageCode")
string(SUBSTRING "${MAGLORIN_PRODUCT_CODE}" 30 7 MAGLORIN_PACKAGE_SUBFOLDER)
