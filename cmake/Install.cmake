# Install layout, for `cmake --install` and the package. The program folder (the executable and
# every file it reads beside itself, as laid out in the build) goes to VEXLO_INSTALL_PROGRAM_DIR
# under the prefix; programs the window runs beside itself are installed into that folder too.
# bin/vexlo is a link to the executable, which finds its folder through the link; bin/vexlo-module
# one to the virtual module.
set(VEXLO_INSTALL_PROGRAM_DIR "lib/vexlo")

install(TARGETS Vexlo vexlo-module RUNTIME DESTINATION "${VEXLO_INSTALL_PROGRAM_DIR}")
install(FILES
    "${CMAKE_SOURCE_DIR}/artwork/pointrouge.gif" "${CMAKE_SOURCE_DIR}/artwork/pointgris.gif"
    "${CMAKE_SOURCE_DIR}/artwork/lecture.gif" "${CMAKE_SOURCE_DIR}/artwork/stop.gif"
    "${CMAKE_SOURCE_DIR}/module/Makefile"
    DESTINATION "${VEXLO_INSTALL_PROGRAM_DIR}")
install(FILES "${CMAKE_SOURCE_DIR}/module/AfficheurCaracMaitre.mod"
    "${CMAKE_SOURCE_DIR}/module/AfficheurCaracEsclave.mod"
    DESTINATION "${VEXLO_INSTALL_PROGRAM_DIR}/modèle")

file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/launcher")
foreach(link vexlo:Vexlo vexlo-module:vexlo-module)
    string(REPLACE ":" ";" link "${link}")
    list(GET link 0 name)
    list(GET link 1 program)
    file(RELATIVE_PATH target "/prefix/bin" "/prefix/${VEXLO_INSTALL_PROGRAM_DIR}/${program}")
    file(CREATE_LINK "${target}" "${CMAKE_BINARY_DIR}/launcher/${name}" SYMBOLIC)
    install(FILES "${CMAKE_BINARY_DIR}/launcher/${name}" DESTINATION bin)
endforeach()

install(FILES "${CMAKE_SOURCE_DIR}/packaging/vexlo.desktop" DESTINATION share/applications)
install(FILES "${CMAKE_SOURCE_DIR}/packaging/vexlo.xml" DESTINATION share/mime/packages)
foreach(size 16 32 48 64 128 256)
    set(hicolor "share/icons/hicolor/${size}x${size}")
    install(FILES "${CMAKE_SOURCE_DIR}/artwork/icons/vexlo-${size}.png"
            DESTINATION "${hicolor}/apps" RENAME vexlo.png)
    install(FILES "${CMAKE_SOURCE_DIR}/artwork/icons/vexlo-sequence-${size}.png"
            DESTINATION "${hicolor}/mimetypes" RENAME application-x-vexlo-sequence.png)
endforeach()
install(FILES "${CMAKE_SOURCE_DIR}/docs/guide-enseignant.md" DESTINATION share/doc/vexlo)
install(FILES "${CMAKE_SOURCE_DIR}/module/README.md" DESTINATION share/doc/vexlo
        RENAME module.md)
