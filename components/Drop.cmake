# The drop library: message table (window-free), base classes and the drop target.
quorvel_library(qv_dropconst SOURCES VxDropConst.cpp)
