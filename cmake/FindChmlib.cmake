# chmlib, the reader of compiled help files (Debian: libchm-dev, which ships no
# pkg-config file). Defines Chmlib::Chmlib.
find_path(Chmlib_INCLUDE_DIR chm_lib.h)
find_library(Chmlib_LIBRARY NAMES chm chmlib)
mark_as_advanced(Chmlib_INCLUDE_DIR Chmlib_LIBRARY)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(Chmlib
  REQUIRED_VARS Chmlib_LIBRARY Chmlib_INCLUDE_DIR
  REASON_FAILURE_MESSAGE "install libchm-dev (scripts/install-deps does)")

if(Chmlib_FOUND AND NOT TARGET Chmlib::Chmlib)
  add_library(Chmlib::Chmlib UNKNOWN IMPORTED)
  set_target_properties(Chmlib::Chmlib PROPERTIES
    IMPORTED_LOCATION "${Chmlib_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${Chmlib_INCLUDE_DIR}")
endif()
