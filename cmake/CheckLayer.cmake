# Run by the build (cmake -P) for one folder of the game: fails when a file of FOLDER includes
# a header of a folder that FOLDER does not name among its dependencies (USES, comma-separated).
# Then a lower layer cannot start to include a higher one without the build saying so.
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" allowed "${USES}")
list(APPEND allowed ${FOLDER})
file(GLOB files ${SOURCE_DIR}/${FOLDER}/*.h ${SOURCE_DIR}/${FOLDER}/*.cpp)
set(failed FALSE)
foreach(file IN LISTS files)
  file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
  foreach(include IN LISTS includes)
    string(REGEX REPLACE "^[^\"]*\"([^\"/]+)/.*$" "\\1" used "${include}")
    if(NOT used IN_LIST allowed)
      file(RELATIVE_PATH name ${SOURCE_DIR} ${file})
      message(SEND_ERROR "${name}: ${include} reaches into ${used}/, which ${FOLDER}/ does not use "
                         "(it uses: ${USES})")
      set(failed TRUE)
    endif()
  endforeach()
endforeach()
if(NOT failed)
  file(TOUCH ${STAMP})
endif()
