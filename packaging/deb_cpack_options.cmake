# Read by cpack itself, so the maintainer is the one of whoever packs, not of the configure.
include(${CMAKE_CURRENT_LIST_DIR}/maintainer.cmake)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TOLVANE_MAINTAINER}")
