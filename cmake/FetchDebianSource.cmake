# Script mode: fetch a Debian source package into CACHE (once), check its hashes, unpack it with
# dpkg-source into DEST so that Debian's patches are applied.
# EPOCH, when the package has one, ends with its colon ("1:").
foreach(var CACHE PACKAGE VERSION REVISION ORIG_SHA256 DEBIAN_SHA256 DEST)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "FetchDebianSource: ${var} is not set")
  endif()
endforeach()

set(_orig ${CACHE}/${PACKAGE}_${VERSION}.orig.tar.gz)
set(_debian ${CACHE}/${PACKAGE}_${VERSION}-${REVISION}.debian.tar.xz)
set(_dsc ${CACHE}/${PACKAGE}_${VERSION}-${REVISION}.dsc)

if(NOT EXISTS ${_orig} OR NOT EXISTS ${_debian} OR NOT EXISTS ${_dsc})
  file(MAKE_DIRECTORY ${CACHE})
  execute_process(COMMAND apt-get source --download-only ${PACKAGE}=${EPOCH}${VERSION}-${REVISION}
    WORKING_DIRECTORY ${CACHE} RESULT_VARIABLE _rc)
  if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "apt-get source ${PACKAGE} failed (are deb-src entries configured? .ci/run adds them)")
  endif()
endif()

file(SHA256 ${_orig} _orig_hash)
file(SHA256 ${_debian} _debian_hash)
if(NOT _orig_hash STREQUAL ORIG_SHA256 OR NOT _debian_hash STREQUAL DEBIAN_SHA256)
  message(FATAL_ERROR "Hash mismatch for the ${PACKAGE} source package in ${CACHE}")
endif()

file(REMOVE_RECURSE ${DEST})
execute_process(COMMAND dpkg-source --no-check -x ${_dsc} ${DEST} RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "dpkg-source -x ${_dsc} failed")
endif()
