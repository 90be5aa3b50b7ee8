# The Win32 foundation under Wine: handle owners and the instance procedure.
if(TARGET qv_win)
  quorvel_test(HandlesTest WINDOWS SOURCES HandlesTest.cpp LIBS qv_win)
  quorvel_test(InstanceProcTest WINDOWS SOURCES InstanceProcTest.cpp LIBS qv_win)
endif()
