# The runs need the player and the built test titles.
add_dependencies(${target} orvaplayer titles orva-title)
target_sources(${target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/shell/shell_support.cpp)
