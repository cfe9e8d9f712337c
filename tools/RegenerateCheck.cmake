# Runs the generators into WORK_DIR and compares every output byte for byte with
# the committed copy under DATA_DIR. A difference means either the generators
# changed without `regenerate-data` being run, or they are not deterministic.

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/textures ${WORK_DIR}/meshes ${WORK_DIR}/music)

foreach(step "${MAKE_TEXTURES};${WORK_DIR}/textures" "${MAKE_CUBE_MODEL};${WORK_DIR}/meshes"
    "${MAKE_MUSIC};${WORK_DIR}/music")
  execute_process(COMMAND ${step} RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "generator failed (${result}): ${step}")
  endif()
endforeach()

string(REPLACE "," ";" textures "${TEXTURES}")
set(files meshes/cube2.obj music/vobra.ogg)
foreach(name IN LISTS textures)
  list(APPEND files textures/${name})
endforeach()

set(different "")
foreach(file IN LISTS files)
  if(NOT EXISTS ${DATA_DIR}/${file})
    list(APPEND different "${file} (not committed)")
    continue()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/${file} ${DATA_DIR}/${file}
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    list(APPEND different ${file})
  endif()
endforeach()

if(different)
  message(FATAL_ERROR "regenerated data differs from data/: ${different}")
endif()
message(STATUS "all regenerated files match data/")
