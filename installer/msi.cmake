# Writes the Windows installer with wixl; the same inputs give the same bytes.
# cmake -DWIXL=... -DMSIBUILD=... -DMSIINFO=... -DFAKETIME=... -DEPOCA=<epoch file> -DEXE=... -DDLL=... -DICON=... -DLEGGIMI_IN=...
#       -DWXS_IN=... -DVERSION=x.y.z -DOUT=dist -DNAME=Esmalvio-x.y.z-win64 -P installer/msi.cmake
# Fixed for ever: it ties every version together, so that a newer one replaces an older one.
set(UPGRADE_CODE 108F9D75-BC3C-4746-9ABE-A188AF661AA2)
# One product per version: a rebuilt package of the same version installs as the same product.
string(UUID PRODUCT_CODE NAMESPACE ${UPGRADE_CODE} NAME "Esmalvio Desktop ${VERSION}" TYPE SHA1 UPPER)

# Windows replaces an installed program only by one of a higher version, and takes the package's from the File
# row: the four parts of FILEVERSION in the exe's VS_FIXEDFILEINFO, which follows the resource's key
# "VS_VERSION_INFO" (UTF-16, padded to four bytes), the signature 0xFEEF04BD and the structure's own version; each
# part a little-endian word, the higher one of each double word second.
file(READ ${EXE} exe HEX)
string(REGEX MATCH "560053005f00560045005200530049004f004e005f0049004e0046004f0000000000\
bd04effe........(........)(........)" _ "${exe}")
foreach(doppia IN ITEMS ${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
  foreach(inizio 4 0)
    string(SUBSTRING ${doppia} ${inizio} 4 parola)
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1" parola "${parola}")
    math(EXPR parola "${parola}")
    list(APPEND parti ${parola})
  endforeach()
endforeach()
list(JOIN parti . versione_exe)
if(NOT versione_exe STREQUAL "${VERSION}.0")
  message(FATAL_ERROR "${EXE}: FILEVERSION '${versione_exe}', but the package is version ${VERSION}: it "
                      "would install a program of another version, or of none")
endif()

set(stage ${OUT}/${NAME}.msi.d)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
string(REGEX MATCH "^[0-9]+\\.[0-9]+" ESMALVIO_VERSION ${VERSION})
set(ESMALVIO_VERSION_COMPLETA ${VERSION})
configure_file(${LEGGIMI_IN} ${stage}/LEGGIMI.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${WXS_IN} ${stage}/Esmalvio.wxs @ONLY)
# wixl takes the files by names relative to where it runs; the program by its own name, whichever link it is.
file(COPY ${DLL} ${ICON} DESTINATION ${stage})
file(COPY_FILE ${EXE} ${stage}/Esmalvio.exe)
file(GLOB inputs ${stage}/*)
list(SORT inputs)

# The same commit, the same package: the cabinet takes each file's time from its mtime, and wixl writes the clock
# into the summary's dates (it has no option for them, nor has msibuild), so the files get the build's time and
# wixl runs under libfaketime with its clock stopped there (NO_FAKE_STAT: the files' times as they are). In UTC,
# as both are written in local time.
file(STRINGS ${EPOCA} epoca)
set(ENV{SOURCE_DATE_EPOCH} ${epoca})
string(TIMESTAMP ora_touch "%Y%m%d%H%M.%S" UTC)
string(TIMESTAMP ora_wixl "%Y-%m-%d %H:%M:%S" UTC)
set(ENV{TZ} UTC)
execute_process(COMMAND touch -t ${ora_touch} ${inputs} COMMAND_ERROR_IS_FATAL ANY)
set(msi ${OUT}/${NAME}.msi)
execute_process(COMMAND ${CMAKE_COMMAND} -E env NO_FAKE_STAT=1 ${FAKETIME} -f ${ora_wixl} ${WIXL} -a x64 -o ${msi}
                        Esmalvio.wxs
                WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
# wixl draws a new package code every time; the same contents must give the same package, or Windows would
# refuse a rebuilt one as a different package of an installed product.
set(contents "")
foreach(f ${inputs})
  file(SHA256 ${f} sum)
  string(APPEND contents ${sum})
endforeach()
string(UUID PACKAGE_CODE NAMESPACE ${PRODUCT_CODE} NAME ${contents} TYPE SHA1 UPPER)
execute_process(COMMAND ${MSIBUILD} ${msi} -s "Esmalvio Desktop" Quilmora "x64;1040" "{${PACKAGE_CODE}}"
                COMMAND_ERROR_IS_FATAL ANY)
# AUTOSTART=1 on the command line must reach the elevated part of the installation; wixl has no Secure="yes".
execute_process(COMMAND ${MSIBUILD} ${msi} -q "UPDATE `Property` SET `Value` = \
'AUTOSTART;VERSIONEPRECEDENTE;VERSIONESUCCESSIVA' WHERE `Property` = 'SecureCustomProperties'"
                COMMAND_ERROR_IS_FATAL ANY)
# wixl 0.101 knows no Execute="rollback": 1 (a DLL's function) + 256 (rollback) + 1024 (in the script) + 2048
# (with the installer's rights).
execute_process(COMMAND ${MSIBUILD} ${msi} -q "UPDATE `CustomAction` SET `Type` = 3329 \
WHERE `Action` = 'RipristinaAvvio'" COMMAND_ERROR_IS_FATAL ANY)
# wixl 0.101 leaves the program's version out and gives it a hash, which is for unversioned files only.
execute_process(COMMAND ${MSIBUILD} ${msi} -q "UPDATE `File` SET `Version` = '${versione_exe}' \
WHERE `File` = 'Esmalvio.exe'" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSIBUILD} ${msi} -q "DELETE FROM `MsiFileHash` WHERE `File_` = 'Esmalvio.exe'"
                COMMAND_ERROR_IS_FATAL ANY)
# An UPDATE of a row wixl did not write changes nothing and says nothing: read the rows back.
execute_process(COMMAND ${MSIINFO} export ${msi} Property OUTPUT_VARIABLE proprieta COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSIINFO} export ${msi} CustomAction OUTPUT_VARIABLE azioni COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSIINFO} export ${msi} File OUTPUT_VARIABLE file_righe COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSIINFO} export ${msi} MsiFileHash OUTPUT_VARIABLE hash_righe COMMAND_ERROR_IS_FATAL ANY)
string(REPLACE "." "\\." versione_esatta ${versione_exe})
if(NOT file_righe MATCHES "\nEsmalvio\\.exe\t[^\t]*\t[^\t]*\t[^\t]*\t${versione_esatta}\t"
   OR hash_righe MATCHES "\nEsmalvio\\.exe\t")
  file(REMOVE ${msi})
  message(FATAL_ERROR "${msi}: Esmalvio.exe's row is not of version ${versione_exe}, or it has a hash; Windows "
                      "would leave an installed program in place at an upgrade")
endif()
if(NOT proprieta MATCHES "\nSecureCustomProperties\t([^\r\n]*;)?AUTOSTART[;\r\n]")
  file(REMOVE ${msi})
  message(FATAL_ERROR "${msi}: SecureCustomProperties does not name AUTOSTART (wixl wrote no such row?); "
                      "AUTOSTART=1 would not reach the elevated part of a UAC install")
endif()
if(NOT azioni MATCHES "\nRipristinaAvvio\t3329\t")
  file(REMOVE ${msi})
  message(FATAL_ERROR "${msi}: RipristinaAvvio is no rollback action; a failed install or removal would leave "
                      "the Run value changed")
endif()
file(REMOVE_RECURSE ${stage})
message(STATUS "${msi}")
