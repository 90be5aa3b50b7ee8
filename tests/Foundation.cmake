# The Win32 foundation under Wine: handle owners and the instance procedure.
quorvel_test(HandlesTest TIER unit WINDOWS SOURCES HandlesTest.cpp LIBS qv_win)
quorvel_test(InstanceProcTest TIER window WINDOWS SOURCES InstanceProcTest.cpp LIBS qv_win)
