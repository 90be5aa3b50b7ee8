quorvel_test(VersionInfoTest SOURCES VersionInfoTest.cpp LIBS qv_versioninfo)
