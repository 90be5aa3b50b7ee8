quorvel_test(VxHelpPathsTest TIER unit SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/VxHelpPathsTest.cpp LIBS qv_helppaths)

if(WIN32)
  # Stand-ins for the help library, copied to HHCTRL.OCX beside a test as it runs.
  foreach(_standin HtmlHelpStandIn HtmlHelpNoEntry)
    add_library(${_standin} SHARED ${CMAKE_CURRENT_SOURCE_DIR}/HelpData/${_standin}.cpp)
    quorvel_warnings(${_standin})
    set_target_properties(${_standin} PROPERTIES PREFIX "")
    # Undecorated export names, as GetProcAddress is asked for them.
    target_link_options(${_standin} PRIVATE -Wl,--kill-at)
  endforeach()

  # Under Wine the built-in help library would be found when the stand-in is
  # absent; the help tests load only a library file, so "missing" is missing.
  set(_help_tests VxHtmlHelpApiTest VxHelpRouterTest)
  set(_overrides "")
  foreach(_test IN LISTS _help_tests)
    string(APPEND _overrides "${CMAKE_BINARY_DIR}/wine-run.sh reg add 'HKCU\\Software\\Wine\\AppDefaults\\${_test}.exe\\DllOverrides' /v hhctrl.ocx /d native /f >/dev/null && ")
  endforeach()
  add_test(NAME ${QUORVEL_KIND_LABEL}HelpLibraryOverrides COMMAND sh -c "${_overrides}true")
  set_tests_properties(${QUORVEL_KIND_LABEL}HelpLibraryOverrides PROPERTIES
    FIXTURES_SETUP ${QUORVEL_KIND_LABEL}HelpLibrary TIMEOUT 120)
  quorvel_test_tier(${QUORVEL_KIND_LABEL}HelpLibraryOverrides unit)

  # Each test gets a folder of its own, since each puts its own HHCTRL.OCX there.
  #   quorvel_help_test(NAME TIER tier [POINTER] SOURCE...)
  function(quorvel_help_test name)
    cmake_parse_arguments(H "POINTER" "TIER" "" ${ARGN})
    set(_help_options "")
    if(H_POINTER)
      set(_help_options POINTER)
    endif()
    quorvel_test(${name} TIER ${H_TIER} WINDOWS ${_help_options}
                 SOURCES ${H_UNPARSED_ARGUMENTS} ${CMAKE_CURRENT_SOURCE_DIR}/HelpData/HtmlHelpStandInFiles.cpp)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${name})
    add_dependencies(${name} HtmlHelpStandIn HtmlHelpNoEntry)
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:HtmlHelpStandIn> $<TARGET_FILE:HtmlHelpNoEntry>
              $<TARGET_FILE_DIR:${name}>)
    set_tests_properties(${QUORVEL_KIND_LABEL}${name} PROPERTIES FIXTURES_REQUIRED ${QUORVEL_KIND_LABEL}HelpLibrary)
  endfunction()

  quorvel_help_test(VxHtmlHelpApiTest TIER unit ${CMAKE_CURRENT_SOURCE_DIR}/VxHtmlHelpApiTest.cpp)
  target_link_libraries(VxHtmlHelpApiTest PRIVATE qv_htmlhelp)

  # Popups go to the mouse pointer.
  quorvel_help_test(VxHelpRouterTest TIER window POINTER ${CMAKE_CURRENT_SOURCE_DIR}/VxHelpRouterTest.cpp)
  target_link_libraries(VxHelpRouterTest PRIVATE qv_helprouter qv_testdriver)
endif()
