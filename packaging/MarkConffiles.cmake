# Run by CPack after the install into its staging folder: lists every file installed under
# /etc in the package's conffiles, so that dpkg keeps an administrator's changes to them. A
# package with nothing under /etc gets no conffiles at all.
file(GLOB_RECURSE _etc_files LIST_DIRECTORIES false RELATIVE "${CPACK_TEMPORARY_DIRECTORY}"
     "${CPACK_TEMPORARY_DIRECTORY}/etc/*")
if(_etc_files)
    list(SORT _etc_files)
    set(_lines "")
    foreach(_file IN LISTS _etc_files)
        string(APPEND _lines "/${_file}\n")
    endforeach()
    file(WRITE "${CPACK_KEVRAN_CONFFILES}" "${_lines}")
    list(APPEND CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CPACK_KEVRAN_CONFFILES}")
endif()
