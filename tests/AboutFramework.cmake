# Labels, buttons, images, bevels and the description writer.
if(TARGET qv_formwriter)
  quorvel_test(FormWriterTest SOURCES FormWriterTest.cpp LIBS qv_formwriter)
endif()
if(TARGET qv_stdctrls)
  quorvel_test(StdCtrlsTest WINDOWS SOURCES StdCtrlsTest.cpp LIBS qv_stdctrls qv_testdriver)
endif()
