# Read by cpack for each package it makes. The Debian package holds the
# system layout (component "system" of packaging/CMakeLists.txt), stripped as
# Debian wants; the archive keeps the program folder of a plain install.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_LOGWEAVE_SYSTEM_PROJECT}")
  set(CPACK_STRIP_FILES ON)
endif()
