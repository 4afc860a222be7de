# The tool is run as a program; the scratch-folder helpers come from the resource tests.
add_dependencies(${target} orva-archive)
target_sources(${target} PRIVATE ${dir}/../resources/resources_support.cpp)
