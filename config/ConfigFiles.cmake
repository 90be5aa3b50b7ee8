# The configuration file store, its codecs and its operating-system edge.
if(WIN32)
  set(_qv_config_os VxConfigOSWin.cpp)
else()
  set(_qv_config_os VxConfigOSPosix.cpp)
endif()
quorvel_library(qv_config
  SOURCES VxConfigText.cpp VxMemIniFile.cpp VxConfigFiles.cpp VXConfig.cpp VxConfigOS.cpp ${_qv_config_os}
  LIBS qv_errors)
if(WIN32)
  target_link_libraries(qv_config PUBLIC qv_win Win32::user32 Win32::advapi32)

  # Where the program's configuration file lives: folder lookup, string
  # resource and executable name.
  add_library(qv_config_win STATIC VXConfigWin.cpp)
  quorvel_warnings(qv_config_win)
  target_link_libraries(qv_config_win PUBLIC qv_config Win32::shell32)
endif()
