# Framework tests on real windows under Wine.
if(WIN32 AND TARGET qv_framework)
  quorvel_test(ControlsTest SOURCES ControlsTest.cpp LIBS qv_framework qv_testdriver WINDOWS)
endif()
