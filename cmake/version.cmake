# SPDX-License-Identifier: MIT
# The project's version, from project(... VERSION ...), wherever it shows: the public
# header dorvan_marker/version.h (made here, in the build tree) and, on Windows, the
# version resource of each program and library.

# The copyright line of LICENSE, and the holders it names.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE DORVAN_MARKER_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright \\(c\\) [0-9, -]+ " "" DORVAN_MARKER_AUTHORS "${DORVAN_MARKER_COPYRIGHT}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

# Generated public headers live here; targets that compile against the public headers add
# this folder beside include/.
set(DORVAN_MARKER_GENERATED_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${DORVAN_MARKER_GENERATED_INCLUDE_DIR}/dorvan_marker/version.h
               @ONLY)

if(WIN32)
  enable_language(RC)
endif()

# Gives target a VERSIONINFO resource naming it with description. Does nothing but on
# Windows.
function(dorvan_marker_add_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "SHARED_LIBRARY")
    set(rc_file_type VFT_DLL)
  else()
    set(rc_file_type VFT_APP)
  endif()
  set(rc_name $<TARGET_FILE_BASE_NAME:${target}>)
  set(rc_file_name $<TARGET_FILE_NAME:${target}>)
  set(rc_description "${description}")
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in @ONLY)
  # The file names are known only once the targets are generated.
  file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc INPUT ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc.in)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
endfunction()
