# Prerequisites: other installers a package needs first. The list and its rules are portable; the
# phase that detects, downloads, checks and runs them is in setup's flow library.
add_library(setup_prerequisites STATIC
    ${CMAKE_CURRENT_LIST_DIR}/prerequisite_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/prerequisite_rules.cpp
)
target_include_directories(setup_prerequisites PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(setup_prerequisites PUBLIC setup_launch_conditions setup_detection)

# What the prerequisites wizard shows and where its buttons lead; the dialog itself is in setup's
# flow library.
add_library(setup_prerequisite_wizard STATIC ${CMAKE_CURRENT_LIST_DIR}/prerequisite_wizard_model.cpp)
target_link_libraries(setup_prerequisite_wizard PUBLIC setup_prerequisites setup_flow)
