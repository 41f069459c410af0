# libjpeg, the decoder of the about window's picture. The Windows program built on Linux links the static
# libjpeg-turbo that scripts/libjpeg.sh cross-builds into build/libjpeg/install; the host build (the
# sanitizer tests) and a build on Windows take the one the system or package manager provides.
set(ORVAND_LIBJPEG_PREFIX "${CMAKE_SOURCE_DIR}/build/libjpeg/install" CACHE PATH
  "Where scripts/libjpeg.sh installs the cross-built libjpeg")
if(CMAKE_CROSSCOMPILING AND WIN32)
  # The tool chain looks for libraries only under its root paths.
  list(APPEND CMAKE_FIND_ROOT_PATH "${ORVAND_LIBJPEG_PREFIX}")
endif()
find_package(JPEG)
if(NOT JPEG_FOUND)
  if(CMAKE_CROSSCOMPILING AND WIN32)
    message(FATAL_ERROR "libjpeg is not built yet: run scripts/setup.sh, which builds it into ${ORVAND_LIBJPEG_PREFIX}")
  else()
    message(FATAL_ERROR "libjpeg not found: install libjpeg-dev (scripts/setup.sh does)")
  endif()
endif()
