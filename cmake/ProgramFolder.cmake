# Lays out the program folder: the executable goes there through its output directory; every
# file the program reads beside itself is copied here, again whenever it changes.
file(MAKE_DIRECTORY "${VEXLO_PROGRAM_DIR}/Travail" "${VEXLO_PROGRAM_DIR}/modèle")

foreach(picture pointrouge.gif pointgris.gif lecture.gif stop.gif)
    configure_file("${CMAKE_SOURCE_DIR}/artwork/${picture}" "${VEXLO_PROGRAM_DIR}/${picture}" COPYONLY)
endforeach()

foreach(template AfficheurCaracMaitre.mod AfficheurCaracEsclave.mod)
    configure_file("${CMAKE_SOURCE_DIR}/module/${template}" "${VEXLO_PROGRAM_DIR}/modèle/${template}"
        COPYONLY)
endforeach()

configure_file("${CMAKE_SOURCE_DIR}/module/Makefile" "${VEXLO_PROGRAM_DIR}/Makefile" COPYONLY)
