# The drop library: its message table and base classes are window-free; the
# drop target itself needs the windowed framework.
quorvel_library(qv_dropconst SOURCES VxDropConst.cpp)
quorvel_library(qv_dropbase SOURCES VxDropBase.cpp LIBS qv_dropconst qv_forms)
if(WIN32)
  add_library(qv_drop STATIC VxDrop.cpp)
  quorvel_warnings(qv_drop)
  target_link_libraries(qv_drop PUBLIC qv_dropbase qv_framework Win32::shell32)
endif()
