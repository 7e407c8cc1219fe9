# Flags shared by both trees. SSE maths without contraction keeps single-precision results
# identical between the native and the Windows build, so a frame is the same pixels in both.
add_compile_options(-Wall -Wextra -Werror -ffp-contract=off)
# SSE2 maths exists on x86 only; elsewhere single precision is the hardware's own anyway.
if(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|AMD64|amd64|i[3-6]86|x86)$")
    add_compile_options(-msse2 -mfpmath=sse)
endif()

if(MAGLORIN_WIN32)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # No libstdc++, libgcc or winpthread DLLs: the programs need only Windows' own.
    add_link_options(-static -static-libgcc -static-libstdc++)
endif()

option(MAGLORIN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(MAGLORIN_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

# Third-party sources (7-Zip) are compiled with their own warnings tolerated.
function(maglorin_relax_warnings target)
    target_compile_options(${target} PRIVATE -w -Wno-error)
endfunction()

# maglorin_windows_program(<target> [GUI]): a program entered through wmain (console) or wWinMain
# (GUI). Natively it is an ordinary program with main.
function(maglorin_windows_program target)
    cmake_parse_arguments(P "GUI" "" "" ${ARGN})
    if(MAGLORIN_WIN32)
        target_link_options(${target} PRIVATE -municode)
        if(P_GUI)
            target_link_options(${target} PRIVATE -mwindows)
        else()
            target_link_options(${target} PRIVATE -mconsole)
        endif()
    endif()
endfunction()
