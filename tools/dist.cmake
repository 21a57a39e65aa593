# Writes the release archive: Esmalvio.exe and LEGGIMI.txt in a zip, and its SHA-256 sum beside it.
# cmake -DEXE=... -DLEGGIMI=... -DOUT=dist -DNAME=Esmalvio-x.y.z-win64 -P tools/dist.cmake
set(stage ${OUT}/${NAME})
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
file(COPY ${EXE} ${LEGGIMI} DESTINATION ${stage})
# A fixed time stamp: the same sources give the same archive.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${OUT}/${NAME}.zip --format=zip "--mtime=2026-01-01 00:00:00 UTC"
                        Esmalvio.exe LEGGIMI.txt
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zip failed")
endif()
file(REMOVE_RECURSE ${stage})
file(SHA256 ${OUT}/${NAME}.zip sum)
file(WRITE ${OUT}/${NAME}.zip.sha256 "${sum}  ${NAME}.zip\n")
message(STATUS "${OUT}/${NAME}.zip")
