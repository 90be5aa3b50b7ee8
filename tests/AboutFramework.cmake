# Labels, buttons, images, bevels and the description writer.
quorvel_test(FormWriterTest SOURCES FormWriterTest.cpp LIBS qv_formwriter)
quorvel_test(StdCtrlsTest WINDOWS SOURCES StdCtrlsTest.cpp LIBS qv_stdctrls qv_testdriver)
