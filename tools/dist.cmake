# Writes the release: a zip with Esmalvio.exe and LEGGIMI.txt, the installer, the program and the installer signed
# when a certificate is given, the winget manifests, and each file's SHA-256 sum beside it. The same commit gives
# the same bytes.
# cmake <the arguments of installer/msi.cmake but NAME> -DLEGGIMI=... -DZIP=... -DOSSLSIGNCODE=...
#       -DURL=<download folder, @VERSION@ for the version> -DOUT=dist -P tools/dist.cmake
set(NAME Esmalvio-${VERSION}-win64)

# osslsigncode 2.5 (Debian 12) or later, SHA-256: a .pfx, or a key on a hardware token through its PKCS#11 module
# (the key as a PKCS#11 URI, the certificate in a file). The password reaches osslsigncode through firma.sh.
# Each value one argument, quoted at every step: a PKCS#11 URI is full of semicolons, CMake's list separator.
foreach(v PKCS12 PKCS11_MODULE PKCS11_KEY CERT TIMESTAMP)
  string(REPLACE ";" "\\;" firma_${v} "$ENV{ESMALVIO_SIGN_${v}}")
endforeach()
if(NOT firma_PKCS12 STREQUAL "")
  set(firma_chiave -pkcs12 "${firma_PKCS12}")
elseif(NOT firma_PKCS11_MODULE STREQUAL "")
  set(firma_chiave -pkcs11module "${firma_PKCS11_MODULE}" -certs "${firma_CERT}" -key "${firma_PKCS11_KEY}")
else()
  message(STATUS "unsigned: no certificate given (ESMALVIO_SIGN_PKCS12, or ESMALVIO_SIGN_PKCS11_MODULE)")
endif()
if(firma_chiave AND NOT OSSLSIGNCODE)
  message(FATAL_ERROR "a certificate is given, but osslsigncode is missing")
endif()
# Without a time stamp a signature stops validating when its certificate expires, and the installed package's
# custom actions run again at its removal, years later: only a test signature goes without one.
if(firma_chiave AND firma_TIMESTAMP STREQUAL "" AND NOT "$ENV{ESMALVIO_SIGN_SENZA_MARCA}" STREQUAL "1")
  message(FATAL_ERROR "a certificate is given, but no time stamp server (ESMALVIO_SIGN_TIMESTAMP): the signatures "
                      "would stop validating when the certificate expires. For a test signature without one, set "
                      "ESMALVIO_SIGN_SENZA_MARCA=1")
endif()
function(firma file)
  if(NOT firma_chiave)
    return()
  endif()
  set(args sign -h sha256 -n "Esmalvio Desktop" "${firma_chiave}")
  if(NOT firma_TIMESTAMP STREQUAL "")
    list(APPEND args -ts "${firma_TIMESTAMP}")
  endif()
  file(REMOVE ${file}.firmato)
  execute_process(COMMAND sh ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/firma.sh ${OSSLSIGNCODE} ${args} -in ${file}
                          -out ${file}.firmato RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "signing ${file} failed")
  endif()
  file(RENAME ${file}.firmato ${file})
endfunction()

# Nothing of an earlier run stays to pass for this one's, should this one fail.
file(REMOVE ${OUT}/${NAME}.zip ${OUT}/${NAME}.zip.sha256 ${OUT}/${NAME}.msi ${OUT}/${NAME}.msi.sha256)
set(winget ${OUT}/winget/Quilmora.Esmalvio/${VERSION})
file(REMOVE_RECURSE ${winget})
set(cartella ${OUT}/${NAME}.d)
file(REMOVE_RECURSE ${cartella})
file(MAKE_DIRECTORY ${cartella})
file(COPY ${EXE} ${LEGGIMI} DESTINATION ${cartella})
firma(${cartella}/Esmalvio.exe)
set(EXE ${cartella}/Esmalvio.exe)
# msiexec runs the custom actions from a copy of this file: Smart App Control blocks it unsigned.
if(WIXL)
  file(COPY ${DLL} DESTINATION ${cartella})
  get_filename_component(nome ${DLL} NAME)
  set(DLL ${cartella}/${nome})
  firma(${DLL})
endif()
# The build's time, for the zip's entries (the installer takes it the same way).
file(STRINGS ${EPOCA} epoca)
set(ENV{SOURCE_DATE_EPOCH} ${epoca})
string(TIMESTAMP ora_touch "%Y%m%d%H%M.%S" UTC)
set(ENV{TZ} UTC)
if(WIXL)
  include(${CMAKE_CURRENT_LIST_DIR}/../installer/msi.cmake)
  firma(${msi})
else()
  message(STATUS "no wixl: the installer is skipped")
endif()

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

set(tipi zip)
if(WIXL)
  list(APPEND tipi msi)
endif()
foreach(tipo ${tipi})
  file(SHA256 ${${tipo}} sum)
  get_filename_component(nome ${${tipo}} NAME)
  file(WRITE ${${tipo}}.sha256 "${sum}  ${nome}\n")
  string(TOUPPER ${sum} WINGET_SHA256_${tipo})
endforeach()

if(NOT WIXL)
  return()
endif()
# winget's manifests for this version, with the codes as the built package holds them.
execute_process(COMMAND ${MSIINFO} export ${msi} Property OUTPUT_VARIABLE proprieta COMMAND_ERROR_IS_FATAL ANY)
string(REGEX MATCH "\nProductCode\t([^\r\n]+)" _ "${proprieta}")
set(WINGET_PRODUCT_CODE ${CMAKE_MATCH_1})
string(REGEX MATCH "\nUpgradeCode\t([^\r\n]+)" _ "${proprieta}")
set(WINGET_UPGRADE_CODE ${CMAKE_MATCH_1})
string(CONFIGURE "${URL}" WINGET_URL @ONLY)
file(GLOB modelli ${CMAKE_CURRENT_LIST_DIR}/../installer/winget/*.yaml.in)
foreach(modello ${modelli})
  get_filename_component(nome ${modello} NAME_WLE)
  configure_file(${modello} ${winget}/${nome} @ONLY)
endforeach()
message(STATUS "${winget}")
