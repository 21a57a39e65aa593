# Writes the release: a zip with Esmalvio.exe and LEGGIMI.txt, the installer, and each file's SHA-256 sum beside
# it. The same commit gives the same bytes.
# cmake <the arguments of installer/msi.cmake but NAME> -DLEGGIMI=... -DZIP=... -DOUT=dist -P tools/dist.cmake
set(NAME Esmalvio-${VERSION}-win64)

# Nothing of an earlier run stays to pass for this one's, should this one fail.
file(REMOVE ${OUT}/${NAME}.zip ${OUT}/${NAME}.zip.sha256 ${OUT}/${NAME}.msi ${OUT}/${NAME}.msi.sha256)
set(cartella ${OUT}/${NAME}.d)
file(REMOVE_RECURSE ${cartella})
file(MAKE_DIRECTORY ${cartella})
file(COPY ${EXE} ${LEGGIMI} DESTINATION ${cartella})
set(EXE ${cartella}/Esmalvio.exe)
include(${CMAKE_CURRENT_LIST_DIR}/../installer/msi.cmake)

# Info-ZIP without its Unix extras (-X), with fixed modes, the build's time (ora_touch, in UTC as msi.cmake left
# it) and the files in a fixed order: libarchive's zip stores the user's uid and gid, the mode the umask left and
# the time in the local zone.
set(zip ${OUT}/${NAME}.zip)
file(CHMOD ${cartella}/Esmalvio.exe ${cartella}/LEGGIMI.txt PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
execute_process(COMMAND touch -t ${ora_touch} Esmalvio.exe LEGGIMI.txt WORKING_DIRECTORY ${cartella}
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${ZIP} -X -q ${zip} Esmalvio.exe LEGGIMI.txt WORKING_DIRECTORY ${cartella}
                COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${cartella})
message(STATUS "${zip}")

foreach(tipo zip msi)
  file(SHA256 ${${tipo}} sum)
  get_filename_component(nome ${${tipo}} NAME)
  file(WRITE ${${tipo}}.sha256 "${sum}  ${nome}\n")
endforeach()
