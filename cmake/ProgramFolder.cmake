# Lays out the program folder: the executable goes there through its output directory; every
# file the program reads beside itself is copied here. configure_file re-copies a file whenever
# it changes, and the CONFIGURE_DEPENDS glob notices module files that appear or disappear.
file(MAKE_DIRECTORY "${VEXLO_PROGRAM_DIR}/Travail" "${VEXLO_PROGRAM_DIR}/modèle")

foreach(picture pointrouge.gif pointgris.gif lecture.gif stop.gif)
    configure_file("${CMAKE_SOURCE_DIR}/artwork/${picture}" "${VEXLO_PROGRAM_DIR}/${picture}" COPYONLY)
endforeach()

file(GLOB vexlo_templates CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/module/*.mod")
foreach(template IN LISTS vexlo_templates)
    get_filename_component(name "${template}" NAME)
    configure_file("${template}" "${VEXLO_PROGRAM_DIR}/modèle/${name}" COPYONLY)
endforeach()

file(GLOB vexlo_makefile CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/module/Makefile")
if(vexlo_makefile)
    configure_file("${vexlo_makefile}" "${VEXLO_PROGRAM_DIR}/Makefile" COPYONLY)
endif()
