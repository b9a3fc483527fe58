# Run by `cmake --install`: writes the desktop entry for the prefix being installed to (also
# one given by --prefix), so that it names the program and the banner where they end up.
# Set by the caller: TIRREL_ENTRY_TEMPLATE, TIRREL_ENTRY_FILE (the entry's file name),
# TIRREL_APP_ID, TIRREL_SIG_TYPE, TIRREL_STAGE_DIR (a build folder to write it in first) and
# the install folders TIRREL_BINDIR and TIRREL_DATADIR.

# An absolute path under the prefix, as GNUInstallDirs resolves a relative folder.
function(tirrel_full_path out dir)
    if(IS_ABSOLUTE "${dir}")
        set(${out} "${dir}" PARENT_SCOPE)
    else()
        set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
    endif()
endfunction()

# One quoted argument of an Exec line: " ` $ \ are escaped for the entry's quoting and then
# for its string escapes, and % is doubled so that no path reads as a field code.
function(tirrel_exec_argument out text)
    string(REPLACE "\\" "\\\\\\\\" text "${text}")
    foreach(special "\"" "`" "$")
        string(REPLACE "${special}" "\\\\${special}" text "${text}")
    endforeach()
    string(REPLACE "%" "%%" text "${text}")
    set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

tirrel_full_path(bindir "${TIRREL_BINDIR}")
tirrel_full_path(datadir "${TIRREL_DATADIR}")
tirrel_exec_argument(TIRREL_PROGRAM_ARG "${bindir}/tirrel")
tirrel_exec_argument(TIRREL_BANNER_ARG "${datadir}/tirrel/736-60.swf")

set(staged "${TIRREL_STAGE_DIR}/${TIRREL_ENTRY_FILE}")
configure_file("${TIRREL_ENTRY_TEMPLATE}" "${staged}" @ONLY)
file(INSTALL DESTINATION "${datadir}/applications" TYPE FILE FILES "${staged}")
