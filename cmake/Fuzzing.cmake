# The fuzz tree (preset "fuzz", clang): everything is compiled with the libFuzzer coverage hooks
# and AddressSanitizer + UndefinedBehaviorSanitizer; the fuzz targets themselves link libFuzzer
# (tests/fuzz). Only "make fuzz" builds this tree, and only the fuzz targets in it.
option(MAGLORIN_FUZZ "Build the libFuzzer targets with clang and sanitizers" OFF)
if(MAGLORIN_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "MAGLORIN_FUZZ needs clang (the fuzz preset sets it)")
    endif()
    # clang does not know some of GCC's warning groups that sources silence by name.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer -Wno-unknown-warning-option)
    add_link_options(-fsanitize=address,undefined)
    # The conventional switch for limits that only make fuzzing faster (see picture_limits.h).
    add_compile_definitions(FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
endif()
