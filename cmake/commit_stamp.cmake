# Run at every build (not only when CMake configures): writes OUTPUT from INPUT with the commit
# checked out now, and touches it only when that changed, so nothing rebuilds for nothing.
# safe.directory: a checkout owned by another user (a container, a build account) still
# answers instead of leaving the programs "unbekannt".
execute_process(COMMAND git -c safe.directory=* rev-parse --short HEAD
  WORKING_DIRECTORY ${SOURCE_DIR}
  OUTPUT_VARIABLE MARNOQ_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(NOT MARNOQ_COMMIT)
  set(MARNOQ_COMMIT "unbekannt")
endif()
configure_file(${INPUT} ${OUTPUT}.new @ONLY)
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
