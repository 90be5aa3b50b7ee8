# The text form of a font and its number parsers.
quorvel_library(qv_fontutils SOURCES FontUtils.cpp LIBS qv_errors)
