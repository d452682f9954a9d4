# Run at install time, so the changelog names the maintainer of whoever packs. Expects
# TOLVANE_CHANGELOG, the .gz to write, beside changelog.in, its entries from CHANGELOG.md.
include(${CMAKE_CURRENT_LIST_DIR}/maintainer.cmake)
get_filename_component(dir ${TOLVANE_CHANGELOG} DIRECTORY)
get_filename_component(plain ${TOLVANE_CHANGELOG} NAME_WLE)
configure_file(${dir}/changelog.in ${dir}/${plain} @ONLY)
# -n: no name or time stamp inside, so equal inputs give an equal file.
execute_process(COMMAND gzip -9nf ${dir}/${plain} COMMAND_ERROR_IS_FATAL ANY)
