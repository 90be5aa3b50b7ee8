# The Win32 foundation every Windows module stands on: the handle owners,
# the system error helpers, the boundary that no exception crosses and the
# object-instance window procedure.
if(WIN32)
  add_library(qv_win STATIC Handles.cpp SysErrorWin.cpp Boundary.cpp InstanceProc.cpp)
  quorvel_warnings(qv_win)
  target_link_libraries(qv_win PUBLIC qv_errors Win32::user32 Win32::gdi32)
endif()
