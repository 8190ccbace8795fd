# Installs the build in BUILD into a fresh PREFIX and checks what a user's
# system gets: every file in place, the desktop entry, the metainfo and the
# file type valid, and the installed headless tool finding its catalogue
# from the prefix to check an installed example.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
    RESULT_VARIABLE r OUTPUT_QUIET)
if(NOT r EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${r}")
endif()

set(esperados
    bin/ventix
    bin/ventix-cli
    share/ventix/Librerías/LIBRERÍA.txt
    share/ventix/ejemplos/01_mando_directo_simple_efecto.aer
    share/ventix/ejemplos/09_secuencia_dos_cilindros.aer
    share/applications/es.ventix.Ventix.desktop
    share/icons/hicolor/scalable/apps/ventix.svg
    share/icons/hicolor/scalable/mimetypes/application-x-ventix-circuit.svg
    share/mime/packages/ventix.xml
    share/metainfo/es.ventix.Ventix.metainfo.xml)
foreach(f IN LISTS esperados)
    if(NOT EXISTS "${PREFIX}/${f}")
        message(FATAL_ERROR "not installed: ${f}")
    endif()
endforeach()
file(GLOB simbolos "${PREFIX}/share/ventix/Librerías/*.dxf")
file(GLOB ejemplos "${PREFIX}/share/ventix/ejemplos/*")
list(LENGTH ejemplos n)
if(NOT simbolos OR n LESS 9)
    message(FATAL_ERROR "symbols or examples missing: ${simbolos} ${ejemplos}")
endif()

function(ejecutar)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE r OUTPUT_VARIABLE o ERROR_VARIABLE e)
    if(NOT r EQUAL 0)
        message(FATAL_ERROR "${ARGN}: ${r}\n${o}\n${e}")
    endif()
endfunction()

# With no display, and nothing beside the program but the prefix.
ejecutar(env -u DISPLAY -u QT_QPA_PLATFORM "${PREFIX}/bin/ventix-cli" check
    "${PREFIX}/share/ventix/ejemplos/01_mando_directo_simple_efecto.aer")
ejecutar(desktop-file-validate "${PREFIX}/share/applications/es.ventix.Ventix.desktop")
ejecutar(appstreamcli validate --no-net --pedantic
    "${PREFIX}/share/metainfo/es.ventix.Ventix.metainfo.xml")
# The file type compiles, and *.aer files are of it.
ejecutar(update-mime-database "${PREFIX}/share/mime")
file(STRINGS "${PREFIX}/share/mime/globs2" globs REGEX "application/x-ventix-circuit:\\*\\.aer")
if(NOT globs)
    message(FATAL_ERROR "*.aer is not application/x-ventix-circuit")
endif()
file(REMOVE_RECURSE "${PREFIX}")
message(STATUS "install ok")
