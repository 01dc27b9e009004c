# SPDX-License-Identifier: MIT
# Fails when a file of one layer of the library includes a header of a layer it may not use.
#   cmake -DLAYER=models -DALLOWED="platform;marker;models" -DFILES="a.cpp;b.hpp" -DSTAMP=f -P check_layers.cmake
# The includes of src/ name their layer first ("marker/record.hpp"); public headers
# ("dorvan_marker/...") and the standard library may be used by every layer.
cmake_minimum_required(VERSION 3.25)
set(faults "")
foreach(file IN LISTS FILES)
  file(STRINGS "${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^/\"]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^/\"]+)/.*$" "\\1" used "${line}")
    if(NOT used STREQUAL "dorvan_marker" AND NOT used IN_LIST ALLOWED)
      string(STRIP "${line}" line)
      string(APPEND faults "  ${file}: ${line}\n")
    endif()
  endforeach()
endforeach()
if(faults)
  string(REPLACE ";" ", " allowed "${ALLOWED}")
  message(FATAL_ERROR "the layer ${LAYER} may include only ${allowed}:\n${faults}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
