# The render pipeline: the frame, the lighting passes and the drawing of the visual styles.
target_sources(viewer_render PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/modVisualisation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/lighting_pass.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wire_styles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filled_styles.cpp
)
