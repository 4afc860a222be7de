add_dependencies(${target} orva-image)
