# Brings the generated media up to date: runs the generator when a file it lists
# (mediagen --list-outputs) is missing or older than the generator or a song, and otherwise
# does nothing. The build runs it every time (target media), so the list of generated files is
# the generator's own and never repeated in CMake.
#   cmake -DMEDIAGEN=<program> -DGAME_DIR=<folder> -DPACKS=<a,b> -DSONG_DIR=<folder>
#         -DCONTACT_SHEET=<file.png> -P update_media.cmake
foreach(var MEDIAGEN GAME_DIR PACKS SONG_DIR CONTACT_SHEET)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "update_media.cmake needs -D${var}=...")
  endif()
endforeach()

execute_process(COMMAND "${MEDIAGEN}" --packs "${PACKS}" --list-outputs
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "mediagen --list-outputs failed (${status})")
endif()
string(STRIP "${listing}" listing)
string(REPLACE "\n" ";" outputs "${listing}")
list(TRANSFORM outputs PREPEND "${GAME_DIR}/")
list(APPEND outputs "${CONTACT_SHEET}")

file(GLOB songs "${SONG_DIR}/*.song")
set(stale "")
foreach(output ${outputs})
  foreach(input "${MEDIAGEN}" ${songs})
    if(NOT EXISTS "${output}" OR "${input}" IS_NEWER_THAN "${output}")
      set(stale "${output}")
      break()
    endif()
  endforeach()
  if(stale)
    break()
  endif()
endforeach()
if(NOT stale)
  return()
endif()

message(STATUS "Generating the game's pictures, sounds and music (${stale} is out of date)")
execute_process(COMMAND "${MEDIAGEN}" --out "${GAME_DIR}" --packs "${PACKS}"
  --songs "${SONG_DIR}" --contact-sheet "${CONTACT_SHEET}"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "mediagen failed (${status})")
endif()
