# 64-bit Windows: the same programs built for x86-64, tested under 64-bit Wine. This tree carries
# the Windows tests on machines that cannot execute 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MAGLORIN_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
