# The version information reader: the walk is window-free, the file read is
# the Windows side.
quorvel_library(qv_versioninfo SOURCES VxFileUtils.cpp LIBS qv_errors)
if(WIN32)
  target_sources(qv_versioninfo PRIVATE VxFileUtilsWin.cpp)
  target_link_libraries(qv_versioninfo PUBLIC qv_win Win32::version)
endif()
