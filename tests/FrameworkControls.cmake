# Framework tests on real windows under Wine.
if(WIN32 AND TARGET qv_framework)
  quorvel_test(ControlsTest SOURCES ControlsTest.cpp LIBS qv_framework qv_testdriver WINDOWS)
endif()
if(WIN32 AND TARGET qv_framework)
  quorvel_test(FormsTest SOURCES FormsTest.cpp FormsTest.rc LIBS qv_framework qv_testdriver WINDOWS)
  target_include_directories(FormsTest PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  set_source_files_properties(FormsTest.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/FormsTest.qform)
endif()
