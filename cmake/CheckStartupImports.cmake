# Fails when PROGRAM imports any of LIBRARIES (a ;-list) at load time: the
# program binds those on first use (framework/LibraryProc.h), and a direct
# call of one of their functions would bring the library back at start.
#   cmake -DOBJDUMP=... -DPROGRAM=... -DLIBRARIES=a;b -P CheckStartupImports.cmake
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE _headers RESULT_VARIABLE _status)
if(NOT _status EQUAL 0)
  message(FATAL_ERROR "cannot read the headers of ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" _imported "${_headers}")
if(NOT _imported)
  message(FATAL_ERROR "no import table found in ${PROGRAM}")
endif()
string(TOLOWER "${_imported}" _imported)
foreach(_library IN LISTS LIBRARIES)
  if("${_imported}" MATCHES "dll name: ${_library}\\.dll")
    message(FATAL_ERROR "${PROGRAM} loads ${_library}.dll at start")
  endif()
endforeach()
message(STATUS "imported at start: ${_imported}")
