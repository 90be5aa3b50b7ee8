# Framework tests on real windows under Wine. Those that press keys do it on
# a desktop of their own (TestDriver::UsePrivateDesktop), so they can run
# beside other tests.
quorvel_test(ControlsTest TIER window SOURCES ControlsTest.cpp LIBS qv_framework qv_testdriver WINDOWS)
quorvel_test(FormsTest TIER window SOURCES FormsTest.cpp FormsTest.rc LIBS qv_framework qv_testdriver WINDOWS)
target_include_directories(FormsTest PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
set_source_files_properties(FormsTest.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/FormsTest.qform)
quorvel_test(MenusTest TIER window SOURCES MenusTest.cpp LIBS qv_framework qv_testdriver WINDOWS)
quorvel_test(DialogsTest TIER window SOURCES DialogsTest.cpp LIBS qv_framework qv_testdriver WINDOWS TIMEOUT 240)
