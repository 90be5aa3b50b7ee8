# Makes a Windows build's packages afresh and unpacks its zip into the build
# folder's unpacked/, for the install tests.
#   cmake -DCPACK=... -DBUILD=... -DPACKAGES=... -DNAME=... -P MakePackages.cmake
foreach(_suffix zip exe)
  file(REMOVE ${PACKAGES}/${NAME}.${_suffix})
endforeach()
execute_process(COMMAND ${CPACK} --config ${BUILD}/CPackConfig.cmake
                WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${_status}")
endif()
foreach(_suffix zip exe)
  if(NOT EXISTS ${PACKAGES}/${NAME}.${_suffix})
    message(FATAL_ERROR "cpack made no ${NAME}.${_suffix}")
  endif()
endforeach()
file(REMOVE_RECURSE ${BUILD}/unpacked)
file(ARCHIVE_EXTRACT INPUT ${PACKAGES}/${NAME}.zip DESTINATION ${BUILD}/unpacked)
