# Framework tests on real windows under Wine. Those that press keys share the
# one keyboard and foreground window of the display, so they hold the lock
# "desktop_input" (tests of both Windows builds run in one CTest run).
if(WIN32 AND TARGET qv_framework)
  quorvel_test(ControlsTest SOURCES ControlsTest.cpp LIBS qv_framework qv_testdriver WINDOWS)
  quorvel_test(FormsTest SOURCES FormsTest.cpp FormsTest.rc LIBS qv_framework qv_testdriver WINDOWS)
  target_include_directories(FormsTest PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  set_source_files_properties(FormsTest.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/FormsTest.qform)
  quorvel_test(MenusTest SOURCES MenusTest.cpp LIBS qv_framework qv_testdriver WINDOWS)
  quorvel_test(DialogsTest SOURCES DialogsTest.cpp LIBS qv_framework qv_testdriver WINDOWS TIMEOUT 240)
  foreach(test ControlsTest FormsTest MenusTest DialogsTest)
    set_tests_properties(${QUORVEL_KIND_LABEL}${test} PROPERTIES RESOURCE_LOCK desktop_input)
  endforeach()
endif()
