# Regenerates the assets into a fresh folder; every file must match the committed copy byte for byte.
# Inputs: GENERATOR, OUTPUT_DIR, COMMITTED_DIR, FILES (comma-separated file names).
string(REPLACE "," ";" expected "${FILES}")
list(SORT expected)

file(REMOVE_RECURSE "${OUTPUT_DIR}")
execute_process(COMMAND "${GENERATOR}" "${OUTPUT_DIR}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "gen_assets failed: ${result}")
endif()

file(GLOB generated RELATIVE "${OUTPUT_DIR}" "${OUTPUT_DIR}/*")
list(SORT generated)
if(NOT generated STREQUAL expected)
  message(FATAL_ERROR "gen_assets wrote [${generated}], expected [${expected}]")
endif()

set(mismatched "")
foreach(name IN LISTS expected)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUTPUT_DIR}/${name}" "${COMMITTED_DIR}/${name}"
                  RESULT_VARIABLE different)
  if(NOT different EQUAL 0)
    list(APPEND mismatched "${name}")
  endif()
endforeach()
if(mismatched)
  message(FATAL_ERROR "Missing from or different in ${COMMITTED_DIR}: ${mismatched}\n"
                      "Regenerate them with: gen_assets ${COMMITTED_DIR}")
endif()
