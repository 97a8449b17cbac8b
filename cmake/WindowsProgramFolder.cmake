# On Windows the program folder also holds what Vexlo.exe loads beside itself, since no Qt is
# installed there: Qt's libraries and the plugins the window uses (the Windows platform, GIF
# pictures, the Windows style), the compiler's runtime libraries, Qt's French texts and a qt.conf
# that tells Qt to look for all of them in the program folder.
set(runtime_dlls "")
foreach(name libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND "${CMAKE_CXX_COMPILER}" -print-file-name=${name}
        OUTPUT_VARIABLE dll OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${dll}")
        message(FATAL_ERROR "${name} not found beside ${CMAKE_CXX_COMPILER}")
    endif()
    list(APPEND runtime_dlls "${dll}")
endforeach()

set(plugins platforms:QWindowsIntegrationPlugin imageformats:QGifPlugin
    styles:QWindowsVistaStylePlugin)
set(copy_plugins "")
foreach(plugin IN LISTS plugins)
    string(REPLACE ":" ";" plugin "${plugin}")
    list(GET plugin 0 folder)
    list(GET plugin 1 target)
    file(MAKE_DIRECTORY "${VEXLO_PROGRAM_DIR}/${folder}")
    list(APPEND copy_plugins COMMAND "${CMAKE_COMMAND}" -E copy_if_different
        "$<TARGET_FILE:Qt6::${target}>" "${VEXLO_PROGRAM_DIR}/${folder}/")
endforeach()

add_custom_command(TARGET Vexlo POST_BUILD
    COMMAND "${CMAKE_COMMAND}" -E copy_if_different "$<TARGET_FILE:Qt6::Core>"
        "$<TARGET_FILE:Qt6::Gui>" "$<TARGET_FILE:Qt6::Widgets>" ${runtime_dlls}
        "${VEXLO_PROGRAM_DIR}/"
    ${copy_plugins}
    VERBATIM)

# Qt's French texts are the same files on every platform: Debian's.
find_file(VEXLO_QTBASE_FR qtbase_fr.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
    NO_CMAKE_FIND_ROOT_PATH)
if(NOT VEXLO_QTBASE_FR)
    message(FATAL_ERROR "qtbase_fr.qm missing: install the Debian package qt6-translations-l10n")
endif()
configure_file("${VEXLO_QTBASE_FR}" "${VEXLO_PROGRAM_DIR}/translations/qtbase_fr.qm" COPYONLY)
file(WRITE "${VEXLO_PROGRAM_DIR}/qt.conf" "[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n")
