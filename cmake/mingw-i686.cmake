# 32-bit Windows: the shipped deliverables. Tests run under 32-bit Wine where the machine can
# execute 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MAGLORIN_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
