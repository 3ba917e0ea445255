# Cross build for 64-bit Windows on Debian 12: MinGW-w64 with posix threads
# (g++-mingw-w64-x86-64-posix), against the Qt cross-built for it and unpacked
# into /opt/qt6-mingw. That Qt's moc, rcc and uic are the host's own
# (qt6-base-dev-tools), which must be the same version, 6.4.2.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
# The -posix archivers understand the compiler's LTO objects; the plain ones do not.
set(CMAKE_AR /usr/bin/${triple}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${triple}-gcc-ranlib-posix CACHE FILEPATH "")

# The toolchain file is read again for every try_compile, where only the
# environment and the variables listed below carry over.
if(NOT LOGWEAVE_QT_MINGW)
  set(LOGWEAVE_QT_MINGW "$ENV{LOGWEAVE_QT_MINGW}")
endif()
if(NOT LOGWEAVE_QT_MINGW)
  set(LOGWEAVE_QT_MINGW /opt/qt6-mingw)
endif()
set(LOGWEAVE_QT_MINGW "${LOGWEAVE_QT_MINGW}" CACHE PATH "Qt 6 cross-built for MinGW-w64")
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LOGWEAVE_QT_MINGW)

# Libraries, headers and packages only from the MinGW runtime and that Qt;
# programs (moc, chmcmd) only from the host. The Qt prefix is a root of its
# own and its lib/cmake the prefix: a prefix equal to its root is not found.
set(CMAKE_FIND_ROOT_PATH /usr/${triple} ${LOGWEAVE_QT_MINGW})
list(PREPEND CMAKE_PREFIX_PATH ${LOGWEAVE_QT_MINGW}/lib/cmake)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's host tools come from Debian's Qt 6.
set(QT_HOST_PATH /usr CACHE PATH "")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "")

# Test programs run under Wine (package wine64, which puts it off PATH).
if(EXISTS /usr/lib/wine/wine64)
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()
