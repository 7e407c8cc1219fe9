# What the trees need from the machine, checked when a tree is configured, so a missing package
# says what to do instead of failing somewhere in the build.
function(maglorin_require_path path what)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "${what} is missing (${path}): run scripts/install-deps")
    endif()
endfunction()

maglorin_require_path(/usr/include/stb/stb_image.h "stb (Debian package libstb-dev)")
if(MAGLORIN_WIN32)
    maglorin_require_path(/usr/src/googletest/CMakeLists.txt "GoogleTest's sources (Debian package googletest)")
    if(NOT EXISTS "${MAGLORIN_NATIVE_BIN}")
        message(FATAL_ERROR "The Windows trees run the native tree's build tools from ${MAGLORIN_NATIVE_BIN}, "
                            "which does not exist: build the native tree first (scripts/run-tests does), "
                            "after scripts/install-deps")
    endif()
else()
    maglorin_require_path(/usr/include/gtest/gtest.h "GoogleTest (Debian package libgtest-dev)")
endif()
