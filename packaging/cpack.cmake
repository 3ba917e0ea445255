# Included by the top CMakeLists.txt, which says why.

# One archive that unpacks into the program folder: the programs, their field
# order lists, the help file, and the desktop entry under share/.
set(CPACK_GENERATOR TGZ)
set(CPACK_PACKAGE_NAME Logweave)
set(CPACK_PACKAGE_FILE_NAME "Logweave-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME}")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)

# The Debian package (cpack -G DEB, as scripts/package runs it), named
# logweave_VERSION_ARCH.deb, its dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_CONTACT "Logweave maintainers <logweave@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "merge, filter and update ADIF station logs")
string(JOIN "\n" CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Logweave reads a station log kept in ADIF, writes a tidy sorted copy, merges"
    "a second log into it contact by contact, asking which value to keep where two"
    "records differ, splits it by a filter, and brings another log into the WSJT-X"
    "log. logweave-cli does the same from scripts.")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's own words (a dialog's Cancel, a file dialog) in the desktop's language.
# Recommended, not required: without them those words stay in English and the
# program works all the same; apt installs a recommendation by default.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-translations-l10n)
set(CPACK_LOGWEAVE_SYSTEM_PROJECT "${PROJECT_BINARY_DIR};${PROJECT_NAME};system;/")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/cpack_options.cmake)
include(CPack)
