# End-to-end tests of the running program: each starts the built Quorvel.exe
# and drives it from outside with keys and the mouse. They use the prefix's
# per-user folder (set aside while they run), so they take turns with the
# other tests that do.
add_library(qv_endtoend STATIC EndToEndData/EndToEndSupport.cpp EndToEndData/ProgramHook.cpp
            EndToEndData/ProcessResources.cpp EndToEndData/HeapCensus.cpp)
quorvel_warnings(qv_endtoend)
target_link_libraries(qv_endtoend PUBLIC qv_testdriver Win32::shell32 Win32::psapi)

# Libraries loaded into the program's process: undecorated export names,
# as GetProcAddress is asked for them.
foreach(_e2e_library EndToEndHook:HookLibrary HtmlHelpRecorder:HtmlHelpRecorder)
  string(REPLACE ":" ";" _e2e_pair ${_e2e_library})
  list(GET _e2e_pair 0 _e2e_name)
  list(GET _e2e_pair 1 _e2e_source)
  add_library(${_e2e_name} SHARED EndToEndData/${_e2e_source}.cpp)
  quorvel_warnings(${_e2e_name})
  set_target_properties(${_e2e_name} PROPERTIES PREFIX "" RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  target_link_options(${_e2e_name} PRIVATE -Wl,--kill-at)
endforeach()
target_sources(EndToEndHook PRIVATE EndToEndData/ProcessResources.cpp EndToEndData/HeapCensus.cpp)
target_link_libraries(EndToEndHook PRIVATE qv_testdriver Win32::psapi)

# The About box shows the version resource, made from these.
foreach(_e2e_part MAJOR MINOR PATCH TWEAK)
  set(_e2e_${_e2e_part} ${PROJECT_VERSION_${_e2e_part}})
  if(NOT _e2e_${_e2e_part} MATCHES "^[0-9]+$")
    set(_e2e_${_e2e_part} 0)
  endif()
endforeach()
file(STRINGS ${CMAKE_BINARY_DIR}/resources/Version.rc _e2e_copyright REGEX "VALUE \"LegalCopyright\"")
string(REGEX REPLACE ".*\"LegalCopyright\", *\"([^\"]*)\".*" "\\1" _e2e_copyright "${_e2e_copyright}")
if(CMAKE_BUILD_TYPE STREQUAL "Debug")
  set(_e2e_build_words "DEBUG ")
else()
  set(_e2e_build_words "")
endif()

quorvel_test(EndToEndAboutTest TIER process SOURCES EndToEndAboutTest.cpp LIBS qv_endtoend WINDOWS POINTER TIMEOUT 180)
target_compile_definitions(EndToEndAboutTest PRIVATE
  QUORVEL_VERSION_MAJOR=${_e2e_MAJOR} QUORVEL_VERSION_MINOR=${_e2e_MINOR}
  QUORVEL_VERSION_PATCH=${_e2e_PATCH} QUORVEL_VERSION_TWEAK=${_e2e_TWEAK}
  "QUORVEL_COPYRIGHT=\"${_e2e_copyright}\"" "QUORVEL_BUILD_WORDS=\"${_e2e_build_words}\"")

quorvel_test(EndToEndDropTest TIER process SOURCES EndToEndDropTest.cpp LIBS qv_endtoend WINDOWS TIMEOUT 180)

quorvel_test(EndToEndHelpTest TIER process SOURCES EndToEndHelpTest.cpp
             LIBS qv_endtoend Win32::advapi32 WINDOWS TIMEOUT 180)
add_dependencies(EndToEndHelpTest HtmlHelpRecorder)

quorvel_test(EndToEndOpenErrorTest TIER process SOURCES EndToEndOpenErrorTest.cpp LIBS qv_endtoend WINDOWS TIMEOUT 180)

quorvel_test(EndToEndFirstRunTest TIER process SOURCES EndToEndFirstRunTest.cpp LIBS qv_endtoend WINDOWS)

quorvel_test(EndToEndBadFilesTest TIER process SOURCES EndToEndBadFilesTest.cpp LIBS qv_endtoend WINDOWS TIMEOUT 180)

foreach(_e2e_test EndToEndAboutTest EndToEndDropTest EndToEndHelpTest EndToEndOpenErrorTest EndToEndFirstRunTest
                  EndToEndBadFilesTest)
  add_dependencies(${_e2e_test} Quorvel EndToEndHook)
  set_property(TEST ${QUORVEL_KIND_LABEL}${_e2e_test} APPEND PROPERTY RESOURCE_LOCK ${QUORVEL_APPDATA_LOCK})
endforeach()
