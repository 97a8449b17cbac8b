# The plain C++ libraries and their tests, cross-built for Windows with mingw-w64 as a sub-build
# in build/windows/ and run under Wine by this build's ctest, label "windows". Without the
# compilers or Wine the tests are reported as skipped, with the reason.
find_program(VEXLO_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(VEXLO_WINE wine)
set(VEXLO_WINEPREFIX "$ENV{HOME}/.cache/vexlo/wineprefix" CACHE PATH
    "Wine prefix the Windows tests run in, made by the first test run when missing")

# The test programs of the sub-build (tests/bin there), each one CTest test here.
set(windows_test_programs test_common test_firmware test_sequence test_windows_storage
    test_windows_runner)

if(NOT VEXLO_MINGW_CXX OR NOT VEXLO_WINE)
    set(missing "")
    if(NOT VEXLO_MINGW_CXX)
        string(APPEND missing " mingw-w64")
    endif()
    if(NOT VEXLO_WINE)
        string(APPEND missing " wine")
    endif()
    add_test(NAME windows_tests COMMAND sh -c
        "echo 'Windows tests skipped: missing Debian packages:${missing}'; exit 77")
    set_tests_properties(windows_tests PROPERTIES SKIP_RETURN_CODE 77 LABELS windows)
    return()
endif()

include(ExternalProject)
set(windows_dir "${CMAKE_BINARY_DIR}/windows")
ExternalProject_Add(windows_core
    SOURCE_DIR "${CMAKE_SOURCE_DIR}"
    BINARY_DIR "${windows_dir}"
    CMAKE_ARGS
        "-DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64.cmake"
        "-DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}"
        "-DVEXLO_WINEPREFIX=${VEXLO_WINEPREFIX}"
        -DVEXLO_CORE_ONLY=ON -DVEXLO_BENCHMARKS=OFF "-DVEXLO_WERROR=${VEXLO_WERROR}"
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)

add_test(NAME windows_wine_prefix
    COMMAND "${CMAKE_SOURCE_DIR}/scripts/wine-prefix.sh" "${VEXLO_WINEPREFIX}")
set_tests_properties(windows_wine_prefix PROPERTIES
    FIXTURES_SETUP windows_wine LABELS windows TIMEOUT 300)
foreach(program IN LISTS windows_test_programs)
    add_test(NAME windows_${program}
        COMMAND env "WINEPREFIX=${VEXLO_WINEPREFIX}" WINEDEBUG=-all LC_ALL=C.UTF-8
            wine "${windows_dir}/tests/bin/${program}.exe")
    set_tests_properties(windows_${program} PROPERTIES
        FIXTURES_REQUIRED windows_wine LABELS windows TIMEOUT 120)
endforeach()
