# Installs the build into a fresh prefix and checks what a desktop finds there: the three
# programs, the launcher entry with the redirect scheme, the AppStream file, the icon sizes.
# Both files must pass the desktop's own validators.
# Inputs: BUILD_DIR, PREFIX, APP_ID, SCHEME, SCREENSHOTS (the folder the published pictures come
# from), DESKTOP_FILE_VALIDATE, APPSTREAMCLI.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}")
endif()

set(desktop "${PREFIX}/share/applications/${APP_ID}.desktop")
set(metainfo "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml")
set(expected bin/halvex bin/halvex-cli bin/halvex-service
  share/applications/${APP_ID}.desktop share/metainfo/${APP_ID}.metainfo.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg)
foreach(file ${expected})
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
foreach(program halvex halvex-cli halvex-service)
  if(IS_DIRECTORY "${PREFIX}/bin/${program}")
    message(FATAL_ERROR "bin/${program} is not a program")
  endif()
endforeach()

# Each PNG is drawn at its folder's size: the width and height of the PNG header say so.
foreach(size 16 24 32 48 64 128 256 512)
  set(png "${PREFIX}/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png")
  if(NOT EXISTS "${png}")
    message(FATAL_ERROR "missing icon size ${size}")
  endif()
  file(READ "${png}" header LIMIT 24 HEX)
  string(SUBSTRING "${header}" 32 16 dimensions)
  string(SUBSTRING "${dimensions}" 0 8 width_hex)
  string(SUBSTRING "${dimensions}" 8 8 height_hex)
  math(EXPR width "0x${width_hex}")
  math(EXPR height "0x${height_hex}")
  if(NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "the ${size}px icon is ${width}x${height}")
  endif()
endforeach()

file(READ "${desktop}" entry)
if(NOT entry MATCHES "\nMimeType=x-scheme-handler/${SCHEME};\n")
  message(FATAL_ERROR "the launcher entry does not claim the redirect scheme ${SCHEME}:\n${entry}")
endif()
if(NOT entry MATCHES "\nExec=halvex %u\n" OR NOT entry MATCHES "\nIcon=${APP_ID}\n")
  message(FATAL_ERROR "the launcher entry does not start the installed program with its icon:\n${entry}")
endif()

# Every screenshot the description names is one the window tests took and the project publishes.
file(READ "${metainfo}" description)
string(REGEX MATCHALL "<image[^>]*>[^<]+</image>" images "${description}")
if(NOT images)
  message(FATAL_ERROR "the AppStream file shows no screenshot")
endif()
foreach(image ${images})
  string(REGEX REPLACE ".*/([^/<]+)</image>" "\\1" picture "${image}")
  if(NOT EXISTS "${SCREENSHOTS}/${picture}")
    message(FATAL_ERROR "the AppStream file names ${picture}, which is not in ${SCREENSHOTS}")
  endif()
endforeach()

# Warnings count as failures: a store or a menu may refuse what the validator only warns about.
execute_process(COMMAND "${DESKTOP_FILE_VALIDATE}" "${desktop}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0 OR out MATCHES "(error|warning):")
  message(FATAL_ERROR "desktop-file-validate:\n${out}")
endif()
execute_process(COMMAND "${APPSTREAMCLI}" validate --no-net --explain "${metainfo}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate:\n${out}")
endif()
message(STATUS "installed files valid:\n${out}")
