# libjpeg-turbo, built from Debian's source package (unpacked by scripts/install-deps under
# third_party/libjpeg-turbo) as a static library with this tree's compiler: the native compiler,
# or any mingw triple through the tree's toolchain file. Pictures are decoded with the accurate
# integer IDCT (chosen at run time by the decoder), so every tree decodes the same pixels.
#
# Defines the imported target maglorin::jpeg (library plus include folders).
include_guard(GLOBAL)
include(ExternalProject)

set(MAGLORIN_JPEG_SOURCE ${CMAKE_SOURCE_DIR}/third_party/libjpeg-turbo)
if(NOT EXISTS ${MAGLORIN_JPEG_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "libjpeg-turbo source missing in ${MAGLORIN_JPEG_SOURCE}: run scripts/install-deps")
endif()
find_program(MAGLORIN_NASM nasm REQUIRED)

set(jpegBinary ${CMAKE_BINARY_DIR}/third_party/libjpeg-turbo)
set(jpegLibrary ${jpegBinary}/${CMAKE_STATIC_LIBRARY_PREFIX}jpeg${CMAKE_STATIC_LIBRARY_SUFFIX})

set(jpegArgs
    -G ${CMAKE_GENERATOR}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=${jpegBinary}/install
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON
    -DCMAKE_ASM_NASM_COMPILER=${MAGLORIN_NASM}
    -DENABLE_SHARED=OFF
    -DENABLE_STATIC=ON
    -DWITH_TURBOJPEG=OFF
    -DWITH_JAVA=OFF
    -DWITH_SIMD=ON
    -DREQUIRE_SIMD=ON
    -DWITH_ARITH_ENC=OFF
)
if(CMAKE_TOOLCHAIN_FILE)
    list(APPEND jpegArgs -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
else()
    list(APPEND jpegArgs -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER})
endif()
# The shared compiler cache, when the tree uses one, serves this build too.
if(CMAKE_C_COMPILER_LAUNCHER)
    list(APPEND jpegArgs -DCMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER})
elseif(DEFINED ENV{CMAKE_C_COMPILER_LAUNCHER})
    list(APPEND jpegArgs -DCMAKE_C_COMPILER_LAUNCHER=$ENV{CMAKE_C_COMPILER_LAUNCHER})
endif()

# Only the static library is built; its headers are the source's plus the generated jconfig.h.
ExternalProject_Add(libjpeg_turbo_build
    SOURCE_DIR ${MAGLORIN_JPEG_SOURCE}
    BINARY_DIR ${jpegBinary}
    CMAKE_ARGS ${jpegArgs}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${jpegLibrary}
    BUILD_ALWAYS ON  # a newer source under third_party is picked up; otherwise a quick no-op
    USES_TERMINAL_BUILD ON
)

add_library(maglorin_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(maglorin_jpeg PROPERTIES
    IMPORTED_LOCATION ${jpegLibrary}
    INTERFACE_INCLUDE_DIRECTORIES "${MAGLORIN_JPEG_SOURCE};${jpegBinary}"
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES "${MAGLORIN_JPEG_SOURCE};${jpegBinary}")
add_dependencies(maglorin_jpeg libjpeg_turbo_build)
add_library(maglorin::jpeg ALIAS maglorin_jpeg)
