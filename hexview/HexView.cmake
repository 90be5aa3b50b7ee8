# Window-free core of the hex viewer: layout, row texts, navigation, buffer.
quorvel_library(qv_hexlayout SOURCES VxHexLayout.cpp VxHexNavigation.cpp VxMemoryStream.cpp LIBS qv_errors)

if(WIN32)
  # Loading and painting on plain Win32, shared by the control and benchmarks.
  add_library(qv_hexgdi STATIC VxMemoryStreamWin.cpp VxHexPaint.cpp)
  quorvel_warnings(qv_hexgdi)
  target_link_libraries(qv_hexgdi PUBLIC qv_hexlayout qv_win Win32::gdi32 Win32::user32)

  # The control itself, on the framework.
  add_library(qv_hexview STATIC VxHexViewer.cpp)
  quorvel_warnings(qv_hexview)
  target_link_libraries(qv_hexview PUBLIC qv_hexgdi qv_framework)
endif()
