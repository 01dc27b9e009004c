# SPDX-License-Identifier: MIT
# The packages, each made by a target into BUILD/packages/ (scripts/release.sh makes both):
#   package-zip   on Windows: dorvan_marker-VERSION-win64.zip (win32 for 32-bit Windows) of
#                 every install component
#   package-deb   elsewhere: one Debian package per component, from the descriptions that
#                 configuring writes into BUILD/debian/ (cmake/debian/build-packages.sh);
#                 needs -DCMAKE_INSTALL_PREFIX=/usr
# CPack's zip lists its members in the order the file system gives them and its Debian
# packages call ldconfig from maintainer scripts; these are made to be reproducible and
# clean for lintian instead.

set(packaged_targets dorvan_marker)
foreach(target dorvan-marker dorvan-marker-manual)
  if(TARGET ${target})
    list(APPEND packaged_targets ${target})
  endif()
endforeach()

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(windows_name win64)
  else()
    set(windows_name win32)
  endif()
  add_custom_target(package-zip
    COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR} -DNAME=${PROJECT_NAME}-${PROJECT_VERSION}-${windows_name}
            -P ${CMAKE_CURRENT_LIST_DIR}/zip.cmake
    VERBATIM)
  add_dependencies(package-zip ${packaged_targets})
else()
  set(DORVAN_MARKER_PACKAGE_MAINTAINER "dorvan_marker developers <dorvan-marker@users.noreply.example>"
      CACHE STRING "Maintainer named by the Debian packages")
  set(debian_dir ${PROJECT_BINARY_DIR}/debian)
  # Debian names a library's package after its SONAME, with no underscore.
  set(debian_library_package libdorvan-marker${PROJECT_VERSION_MAJOR})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md)

  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/control.in ${debian_dir}/control @ONLY)
  file(WRITE ${debian_dir}/components
       "${debian_library_package} runtime\nlibdorvan-marker-dev development\ndorvan-marker cli\npython3-dorvan-marker python\n")
  # Programs built against this version need at least this version.
  file(WRITE ${debian_dir}/${debian_library_package}.shlibs
       "libdorvan_marker ${PROJECT_VERSION_MAJOR} ${debian_library_package} (>= ${PROJECT_VERSION})\n")
  file(WRITE ${debian_dir}/${debian_library_package}.triggers "activate-noawait ldconfig\n")
  # The version each exported symbol came in, so that a program needs no newer library
  # than the symbols it uses (the C face: 1.1.0).
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/${debian_library_package}.symbols
                 ${debian_dir}/${debian_library_package}.symbols COPYONLY)
  foreach(script postinst prerm)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/python3-dorvan-marker.${script}
                   ${debian_dir}/python3-dorvan-marker.${script} COPYONLY)
  endforeach()

  # The copyright file carries LICENSE as Debian's format wants it: indented, a blank line
  # written as " .".
  file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
  string(REGEX REPLACE "^Copyright \\(c\\) " "" debian_copyright "${DORVAN_MARKER_COPYRIGHT}")
  string(REGEX REPLACE "^MIT License\n\nCopyright[^\n]*\n\n" "" license "${license}")
  string(REGEX REPLACE "\n+$" "" license "${license}")
  string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
  string(REPLACE "\n" "\n " debian_license " ${license}")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${debian_dir}/copyright @ONLY)

  # The Debian changelog: one entry, this version's section of CHANGELOG.md, dated
  # SOURCE_DATE_EPOCH when that is set (string(TIMESTAMP) reads it), as a release sets it.
  file(READ ${PROJECT_SOURCE_DIR}/CHANGELOG.md changelog)
  string(FIND "${changelog}" "\n## [${PROJECT_VERSION}]" start)
  if(start EQUAL -1)
    message(WARNING "CHANGELOG.md has no section for ${PROJECT_VERSION}")
    set(changes "  * Version ${PROJECT_VERSION}.\n")
  else()
    string(SUBSTRING "${changelog}" ${start} -1 changes)
    string(REGEX REPLACE "^\n## [^\n]*\n" "" changes "${changes}")
    string(FIND "${changes}" "\n## " end)
    string(SUBSTRING "${changes}" 0 ${end} changes)
    string(REGEX REPLACE "\n  " "\n      " changes "\n${changes}")
    string(REGEX REPLACE "\n- " "\n    - " changes "${changes}")
    string(REGEX REPLACE "\n### ([^\n]*)" "\n  * \\1:" changes "${changes}")
    string(REGEX REPLACE "\n\n+" "\n" changes "${changes}")
    string(REGEX REPLACE "^\n" "" changes "${changes}")
  endif()
  string(TIMESTAMP date "%a, %d %b %Y %H:%M:%S +0000" UTC)
  file(WRITE ${debian_dir}/changelog
       "dorvan-marker (${PROJECT_VERSION}) unstable; urgency=medium\n\n${changes}\n"
       " -- ${DORVAN_MARKER_PACKAGE_MAINTAINER}  ${date}\n")

  add_custom_target(package-deb
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/debian/build-packages.sh ${PROJECT_BINARY_DIR} ${PROJECT_BINARY_DIR}/packages
    VERBATIM)
  add_dependencies(package-deb ${packaged_targets})
endif()
