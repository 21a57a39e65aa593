# Writes the Windows installer with wixl; the same inputs give the same bytes.
# cmake -DWIXL=... -DMSIBUILD=... -DMSIINFO=... -DFAKETIME=... -DEPOCA=<epoch file> -DEXE=... -DDLL=... -DICON=... -DLEGGIMI_IN=...
#       -DWXS_IN=... -DVERSION=x.y.z -DOUT=dist -DNAME=Esmalvio-x.y.z-win64 -P installer/msi.cmake
# Fixed for ever: it ties every version together, so that a newer one replaces an older one.
set(UPGRADE_CODE 108F9D75-BC3C-4746-9ABE-A188AF661AA2)
# One product per version: a rebuilt package of the same version installs as the same product.
string(UUID PRODUCT_CODE NAMESPACE ${UPGRADE_CODE} NAME "Esmalvio Desktop ${VERSION}" TYPE SHA1 UPPER)

set(stage ${OUT}/${NAME}.msi.d)
file(REMOVE_RECURSE ${stage})
file(MAKE_DIRECTORY ${stage})
string(REGEX MATCH "^[0-9]+\\.[0-9]+" ESMALVIO_VERSION ${VERSION})
set(ESMALVIO_VERSION_COMPLETA ${VERSION})
configure_file(${LEGGIMI_IN} ${stage}/LEGGIMI.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${WXS_IN} ${stage}/Esmalvio.wxs @ONLY)
# wixl takes the files by names relative to where it runs.
file(COPY ${EXE} ${DLL} ${ICON} DESTINATION ${stage})
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
# An UPDATE of a row wixl did not write changes nothing and says nothing: read the rows back.
execute_process(COMMAND ${MSIINFO} export ${msi} Property OUTPUT_VARIABLE proprieta COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${MSIINFO} export ${msi} CustomAction OUTPUT_VARIABLE azioni COMMAND_ERROR_IS_FATAL ANY)
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
