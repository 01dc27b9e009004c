# SPDX-License-Identifier: MIT
# Makes BUILD/packages/NAME.zip: every install component of BUILD, stripped, in a folder
# NAME, the members in the order of their names and dated SOURCE_DATE_EPOCH when that is
# set (cmake -E tar reads it). Run by the target package-zip.
#   cmake -DBUILD=DIR -DNAME=NAME -P cmake/zip.cmake
set(packages ${BUILD}/packages)
file(REMOVE_RECURSE ${packages})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${packages}/${NAME} --strip
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
# GLOB_RECURSE lists in the order of the names, where the file system may give any order.
file(GLOB_RECURSE members RELATIVE ${packages} ${packages}/${NAME}/*)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${NAME}.zip --format=zip -- ${members}
                WORKING_DIRECTORY ${packages} COMMAND_ERROR_IS_FATAL ANY)
