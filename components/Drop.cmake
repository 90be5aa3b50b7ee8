# The drop library: its message table and base classes are window-free; the
# drop target itself needs the windowed framework.
quorvel_library(qv_dropconst SOURCES VxDropConst.cpp)
if(TARGET qv_forms)
  quorvel_library(qv_dropbase SOURCES VxDropBase.cpp LIBS qv_dropconst qv_forms)
endif()
if(WIN32 AND TARGET qv_framework AND TARGET qv_dropbase)
  add_library(qv_drop STATIC VxDrop.cpp)
  quorvel_warnings(qv_drop)
  target_link_libraries(qv_drop PUBLIC qv_dropbase qv_framework shell32)
endif()
