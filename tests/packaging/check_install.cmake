# Installs the build into a scratch root (DESTDIR) under the prefix /usr, as
# the Debian package does, and checks the file list and the desktop
# integration. Run by CTest:
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DSTAGE=... -DGUI=ON|OFF -DMAN_PAGES=ON|OFF -P
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${STAGE}")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${STAGE}" ${CMAKE_COMMAND} --install "${BUILD_DIR}"
          --prefix /usr
  RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${errors}")
endif()

# What the package must hold, and nothing else. The program's data (the
# source tree's data/ less the desktop files) and the manual's pictures are
# taken from their folders, so that new example files need no change here.
set(expected
    usr/bin/taviron-cli
    usr/share/applications/taviron.desktop
    usr/share/doc/taviron/README.md
    usr/share/doc/taviron/copyright
    usr/share/icons/hicolor/scalable/apps/taviron.svg
    usr/share/mime/packages/taviron.xml
    usr/share/taviron/docs/manual.html
    usr/share/taviron/examples/example.TPR)
if(GUI)
  list(APPEND expected usr/bin/taviron)
endif()
if(MAN_PAGES)
  list(APPEND expected usr/share/man/man1/taviron-cli.1.gz)
  if(GUI)
    list(APPEND expected usr/share/man/man1/taviron.1.gz)
  endif()
endif()
file(GLOB_RECURSE data RELATIVE "${SOURCE_DIR}/data" "${SOURCE_DIR}/data/*")
list(REMOVE_ITEM data taviron.desktop taviron-mime.xml taviron.svg)
foreach(f IN LISTS data)
  list(APPEND expected usr/share/taviron/${f})
endforeach()
file(GLOB_RECURSE docs RELATIVE "${SOURCE_DIR}/docs" "${SOURCE_DIR}/docs/*")
foreach(f IN LISTS docs)
  list(APPEND expected usr/share/taviron/docs/${f})
endforeach()
list(REMOVE_DUPLICATES expected)

file(GLOB_RECURSE found RELATIVE "${STAGE}" "${STAGE}/*")
list(SORT expected)
list(SORT found)
set(missing ${expected})
list(REMOVE_ITEM missing ${found})
set(extra ${found})
list(REMOVE_ITEM extra ${expected})
if(missing OR extra)
  list(JOIN missing "\n  " m)
  list(JOIN extra "\n  " x)
  message(FATAL_ERROR "installed file list differs\nmissing:\n  ${m}\nunexpected:\n  ${x}")
endif()

# The programs are executable; the menu entry starts one that is installed,
# names the installed icon and the MIME type the package registers for .tpr.
foreach(program IN ITEMS taviron taviron-cli)
  if(EXISTS "${STAGE}/usr/bin/${program}")
    execute_process(COMMAND test -x "${STAGE}/usr/bin/${program}" RESULT_VARIABLE not_executable)
    if(not_executable)
      message(FATAL_ERROR "usr/bin/${program} is not executable")
    endif()
  endif()
endforeach()
file(READ "${STAGE}/usr/share/applications/taviron.desktop" desktop)
string(REGEX MATCH "\nExec=([^ \n]+)" _ "${desktop}")
if(GUI AND NOT EXISTS "${STAGE}/usr/bin/${CMAKE_MATCH_1}")
  message(FATAL_ERROR "the desktop entry starts '${CMAKE_MATCH_1}', which is not installed")
endif()
string(REGEX MATCH "\nIcon=([^\n]+)" _ "${desktop}")
if(NOT EXISTS "${STAGE}/usr/share/icons/hicolor/scalable/apps/${CMAKE_MATCH_1}.svg")
  message(FATAL_ERROR "the desktop entry's icon '${CMAKE_MATCH_1}' is not installed")
endif()
string(REGEX MATCH "\nMimeType=([^;\n]+);" _ "${desktop}")
set(mime_type "${CMAKE_MATCH_1}")
file(READ "${STAGE}/usr/share/mime/packages/taviron.xml" mime)
if(mime_type STREQUAL "" OR NOT mime MATCHES "type=\"${mime_type}\"")
  message(FATAL_ERROR "the desktop entry's MIME type '${mime_type}' is not registered")
endif()
if(NOT mime MATCHES "pattern=\"\\*\\.tpr\"")
  message(FATAL_ERROR "the MIME type does not claim *.tpr")
endif()
message(STATUS "installed file list and desktop integration checked in ${STAGE}")
