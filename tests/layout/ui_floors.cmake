# The designer's floors, checked from the #include lines of src/ui:
#   base/                  the ground: includes no other floor;
#   canvas/                on base/ only;
#   dialogs/, settings/    on base/ and canvas/;
#   documents/             on all of those;
#   app/                   on top: may include everything.
# An include names a floor only when the file exists under src/ui ("canvas/routes.h" is the
# core's). Usage: cmake -DUI_DIR=<src/ui> -P ui_floors.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT UI_DIR)
  message(FATAL_ERROR "UI_DIR not set")
endif()

# Floors a file of each folder must not include.
set(forbidden_base app documents canvas dialogs settings)
set(forbidden_canvas app documents dialogs settings)
set(forbidden_dialogs app documents)
set(forbidden_settings app documents)
set(forbidden_documents app)

set(faults "")
foreach(folder base canvas dialogs settings documents)
  file(GLOB files RELATIVE ${UI_DIR} ${UI_DIR}/${folder}/*.h ${UI_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    file(STRINGS ${UI_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"]+\"")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" target "${line}")
      if(NOT EXISTS ${UI_DIR}/${target})
        continue()
      endif()
      string(REGEX REPLACE "/.*" "" floor "${target}")
      if(floor IN_LIST forbidden_${folder})
        list(APPEND faults "${file} includes ${target}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "An include reaches a floor above its own:\n  ${text}")
endif()
message(STATUS "UI floors: every include points down")
