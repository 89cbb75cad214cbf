# Helpers shared by the subsystem folders.

# tollivar_library(<target> [DEPS <targets...>] [EXCLUDE <files...>])
# One static library per folder; its sources are the .cpp/.h files beside
# the CMakeLists.txt, so adding a file needs no edit here. A folder without
# sources yet becomes an interface target, so the layers link the same way.
function(tollivar_library target)
    cmake_parse_arguments(ARG "" "" "DEPS;EXCLUDE" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS
        ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
        ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    foreach(excluded ${ARG_EXCLUDE})
        list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
    endforeach()
    set(cpp_sources ${sources})
    list(FILTER cpp_sources INCLUDE REGEX "\\.cpp$")
    if(cpp_sources)
        add_library(${target} STATIC ${sources})
        set(scope PUBLIC)
        target_compile_options(${target} PRIVATE -Wall -Wextra)
    else()
        add_library(${target} INTERFACE)
        set(scope INTERFACE)
    endif()
    # Headers are included from the repository root: "model/answersheet.h".
    target_include_directories(${target} ${scope} ${PROJECT_SOURCE_DIR})
    if(ARG_DEPS)
        target_link_libraries(${target} ${scope} ${ARG_DEPS})
    endif()
endfunction()
