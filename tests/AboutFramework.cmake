# Labels, buttons, images, bevels and the description writer.
quorvel_test(FormWriterTest TIER unit SOURCES FormWriterTest.cpp LIBS qv_formwriter)
quorvel_test(StdCtrlsTest TIER window WINDOWS SOURCES StdCtrlsTest.cpp LIBS qv_stdctrls qv_testdriver)
