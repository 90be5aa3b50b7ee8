quorvel_library(qv_errors SOURCES Exceptions.cpp)
