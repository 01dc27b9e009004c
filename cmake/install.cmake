# SPDX-License-Identifier: MIT
# What `cmake --install` puts where, in four components that the packages split on:
#   runtime      the shared library (the DLL on Windows)
#   development  the headers, the import library or the unversioned .so link, and the files
#                that find_package and pkg-config read (the .def file on Windows)
#   cli          the command line and its manual page
#   python       the Python module
# On Windows the documentation and the example marker go beside them (component doc): the
# zip is all a host vendor or a pattern room gets.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(WIN32)
  set(library_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
else()
  # Shared libraries are read, not run: Debian installs them without the executable bit.
  set(library_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()

install(TARGETS dorvan_marker EXPORT dorvan_marker-targets
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime PERMISSIONS ${library_permissions}
                NAMELINK_COMPONENT development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)

if(WIN32)
  # The DLL exports the C functions and nothing of the C++ API: only their headers go, with
  # the C header that a site's loader plug-in (dorvan_marker_loader.dll) is built against.
  install(FILES include/dorvan_marker/dorvan_marker.h include/dorvan_marker/dorvan_marker_c.h
                include/dorvan_marker/export.h include/dorvan_marker/loader_plugin.h
                ${DORVAN_MARKER_GENERATED_INCLUDE_DIR}/dorvan_marker/version.h
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/dorvan_marker COMPONENT development)
  install(FILES ${PROJECT_BINARY_DIR}/dorvan_marker.def DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
  install(FILES README.md LICENSE CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT doc)
  install(DIRECTORY docs examples DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT doc)
else()
  install(DIRECTORY include/dorvan_marker ${DORVAN_MARKER_GENERATED_INCLUDE_DIR}/dorvan_marker
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT development)

  set(cmake_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/dorvan_marker)
  install(EXPORT dorvan_marker-targets NAMESPACE dorvan_marker:: DESTINATION ${cmake_package_dir}
          COMPONENT development)
  configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/dorvan_marker-config.cmake.in
                                ${PROJECT_BINARY_DIR}/dorvan_marker-config.cmake INSTALL_DESTINATION ${cmake_package_dir})
  write_basic_package_version_file(${PROJECT_BINARY_DIR}/dorvan_marker-config-version.cmake
                                   COMPATIBILITY SameMajorVersion)
  install(FILES ${PROJECT_BINARY_DIR}/dorvan_marker-config.cmake ${PROJECT_BINARY_DIR}/dorvan_marker-config-version.cmake
          DESTINATION ${cmake_package_dir} COMPONENT development)

  # pkg-config wants absolute paths, and the prefix is known only when installing
  # (cmake --install --prefix): the file is finished then.
  set(install_prefix "@CMAKE_INSTALL_PREFIX@")
  configure_file(${CMAKE_CURRENT_LIST_DIR}/dorvan_marker.pc.in ${PROJECT_BINARY_DIR}/dorvan_marker.pc.in @ONLY)
  install(CODE "configure_file(\"${PROJECT_BINARY_DIR}/dorvan_marker.pc.in\" \"${PROJECT_BINARY_DIR}/dorvan_marker.pc\" @ONLY)"
          COMPONENT development)
  install(FILES ${PROJECT_BINARY_DIR}/dorvan_marker.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)
endif()

# The Python module (ctypes, over the C face): where Debian's python3 finds it, and in the
# zip as python\dorvan_marker.py, which finds the DLL in bin\ beside it.
if(WIN32)
  install(FILES python/dorvan_marker.py DESTINATION python COMPONENT python)
else()
  install(FILES python/dorvan_marker.py DESTINATION lib/python3/dist-packages COMPONENT python)
endif()

if(TARGET dorvan-marker)
  install(TARGETS dorvan-marker RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
  if(TARGET dorvan-marker-manual)
    install(FILES ${PROJECT_BINARY_DIR}/dorvan-marker.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
  endif()
  if(NOT WIN32)
    # What the manual page points to, in the command line's package's own documentation folder.
    set(cli_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/dorvan-marker)
    install(FILES docs/host-files.md docs/model-files.md docs/loader-plugin.md DESTINATION ${cli_doc_dir}/docs
            COMPONENT cli)
    install(DIRECTORY docs/schema DESTINATION ${cli_doc_dir}/docs COMPONENT cli)
    install(DIRECTORY examples/jacket DESTINATION ${cli_doc_dir}/examples COMPONENT cli)
  endif()
endif()
