# Build-time tools (sample generator, packer) are native Linux programs. The native tree builds
# them; the win32 tree runs the ones the native tree built, found through MAGLORIN_NATIVE_BIN.
if(MAGLORIN_WIN32)
    set(MAGLORIN_NATIVE_BIN "${CMAKE_SOURCE_DIR}/build/native/bin" CACHE PATH
        "bin folder of a native build tree whose tools the win32 tree runs")
else()
    set(MAGLORIN_NATIVE_BIN "${CMAKE_BINARY_DIR}/bin")
endif()

# maglorin_native_tool(<var> <name>): path of a native build tool, usable in custom commands.
# In the native tree it is the target's own file (so dependencies are tracked).
function(maglorin_native_tool var name)
    if(MAGLORIN_WIN32)
        set(${var} "${MAGLORIN_NATIVE_BIN}/${name}" PARENT_SCOPE)
    else()
        set(${var} "$<TARGET_FILE:${name}>" PARENT_SCOPE)
    endif()
endfunction()
