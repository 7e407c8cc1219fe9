# Cross toolchain shared by the Windows trees: mingw-w64 with the posix thread model, for the
# triple the tree's own toolchain file sets. Test programs run under Wine through wine-run.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${MAGLORIN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MAGLORIN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${MAGLORIN_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MAGLORIN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
