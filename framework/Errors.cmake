quorvel_library(qv_errors SOURCES Exceptions.cpp Boundary.cpp)
if(WIN32)
  target_sources(qv_errors PRIVATE SysErrorWin.cpp)
endif()
