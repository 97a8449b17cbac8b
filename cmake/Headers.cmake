# Each library of src/ shows the libraries above it only its public headers, included as
# "<folder>/<header>", so an include that reaches up a layer or into another library's inner
# workings fails to compile. The build tree holds the include folders: a link per public header,
# and for the library's own sources (and the tests that look inside it) a link to its folder.

# vexlo_headers(<target> <folder> [ALL] [PUBLIC header...])
function(vexlo_headers target folder)
    cmake_parse_arguments(ARG "ALL" "" "PUBLIC" ${ARGN})
    set(inside "${CMAKE_BINARY_DIR}/include/inside/${folder}")
    set(outside "${CMAKE_BINARY_DIR}/include/public/${folder}")
    file(REMOVE_RECURSE "${inside}" "${outside}")
    file(MAKE_DIRECTORY "${inside}")
    file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${inside}/${folder}" SYMBOLIC)
    if(ARG_ALL)
        set(outside "${inside}")
    else()
        file(MAKE_DIRECTORY "${outside}/${folder}")
    endif()
    foreach(header IN LISTS ARG_PUBLIC)
        file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}/${header}" "${outside}/${folder}/${header}"
            SYMBOLIC)
    endforeach()
    target_include_directories(${target} PUBLIC "${outside}" PRIVATE "${inside}")
    set_property(TARGET ${target} PROPERTY VEXLO_INSIDE_HEADERS "${inside}")
endfunction()

# Lets a test target include every header of the given libraries, not only the public ones.
function(vexlo_see_inside target)
    foreach(library IN LISTS ARGN)
        target_include_directories(${target} PRIVATE
            $<TARGET_PROPERTY:${library},VEXLO_INSIDE_HEADERS>)
    endforeach()
endfunction()
