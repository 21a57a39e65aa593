# Writes the time that every release file carries: SOURCE_DATE_EPOCH when set, else the last commit's, never the
# clock. The file changes only with the time, so a new commit relinks and an unchanged one does not.
# cmake -DSOURCE_DIR=... -DOUT=.../epoca.txt -P tools/epoca.cmake
if(NOT "$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
  set(epoca "$ENV{SOURCE_DATE_EPOCH}")
else()
  execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${SOURCE_DIR} OUTPUT_VARIABLE epoca
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
endif()
if(NOT epoca MATCHES "^[0-9]+$")
  message(FATAL_ERROR "no build time ('${epoca}'): set SOURCE_DATE_EPOCH to seconds since 1970, or build from git")
endif()
file(CONFIGURE OUTPUT ${OUT} CONTENT "${epoca}\n")
