# libjpeg-turbo for the mingw trees, built from Debian's source package so that Debian's patches
# (among them its thread-safe SIMD set-up) apply. It cannot be an add_subdirectory: its own
# CMake project expects to be the top level.
include(ExternalProject)

set(TAVIK_JPEG_VERSION 2.1.5)
set(TAVIK_JPEG_DEBIAN_REVISION 2)
set(TAVIK_JPEG_ORIG_SHA256 254f3642b04e309fee775123133c6464181addc150499561020312ec61c1bf7c)
set(TAVIK_JPEG_DEBIAN_SHA256 cdb2433c2f7101345c1ffa14efb943787c675b86354691a32490845fe4bc9237)

set(TAVIK_DEBSRC_CACHE "$ENV{HOME}/.cache/tavik/debsrc" CACHE PATH "Where Debian source packages are kept between builds")
set(_jpeg_prefix ${CMAKE_BINARY_DIR}/_deps/libjpeg-turbo)
set(_jpeg_lib ${_jpeg_prefix}/install/lib/libjpeg.a)

ExternalProject_Add(libjpeg_turbo_build
  PREFIX ${_jpeg_prefix}
  SOURCE_DIR ${_jpeg_prefix}/source
  DOWNLOAD_COMMAND ${CMAKE_COMMAND}
      -DCACHE=${TAVIK_DEBSRC_CACHE}
      -DPACKAGE=libjpeg-turbo
      -DVERSION=${TAVIK_JPEG_VERSION}
      -DREVISION=${TAVIK_JPEG_DEBIAN_REVISION}
      -DEPOCH=1:
      -DORIG_SHA256=${TAVIK_JPEG_ORIG_SHA256}
      -DDEBIAN_SHA256=${TAVIK_JPEG_DEBIAN_SHA256}
      -DDEST=${_jpeg_prefix}/source
      -P ${CMAKE_CURRENT_LIST_DIR}/FetchDebianSource.cmake
  CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
      -DCMAKE_BUILD_TYPE=Release
      -DCMAKE_INSTALL_PREFIX=${_jpeg_prefix}/install
      -DENABLE_SHARED=OFF
      -DENABLE_STATIC=ON
      -DWITH_TURBOJPEG=OFF
      -DWITH_SIMD=ON
      -DREQUIRE_SIMD=ON
      -DWITH_JPEG8=OFF
      -DCMAKE_ASM_NASM_COMPILER=nasm
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ${CMAKE_COMMAND} -E make_directory ${_jpeg_prefix}/install/lib ${_jpeg_prefix}/install/include
      COMMAND ${CMAKE_COMMAND} -E copy <BINARY_DIR>/libjpeg.a ${_jpeg_lib}
      COMMAND ${CMAKE_COMMAND} -E copy <SOURCE_DIR>/jpeglib.h <SOURCE_DIR>/jmorecfg.h <SOURCE_DIR>/jerror.h
              <BINARY_DIR>/jconfig.h ${_jpeg_prefix}/install/include
  BUILD_BYPRODUCTS ${_jpeg_lib}
  UPDATE_COMMAND ""
  LOG_DOWNLOAD ON LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON
)

file(MAKE_DIRECTORY ${_jpeg_prefix}/install/include)
add_library(jpeg::jpeg STATIC IMPORTED GLOBAL)
set_target_properties(jpeg::jpeg PROPERTIES
  IMPORTED_LOCATION ${_jpeg_lib}
  INTERFACE_INCLUDE_DIRECTORIES ${_jpeg_prefix}/install/include)
add_dependencies(jpeg::jpeg libjpeg_turbo_build)
