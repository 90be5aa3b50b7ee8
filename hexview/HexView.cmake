# Window-free core of the hex viewer: layout, row texts, navigation.
quorvel_library(qv_hexlayout SOURCES VxHexLayout.cpp VxHexNavigation.cpp)
