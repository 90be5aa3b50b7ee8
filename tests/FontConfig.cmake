# The font setting on the framework's font, under Wine.
quorvel_test(VXConfigFontTest TIER unit WINDOWS SOURCES VXConfigFontTest.cpp LIBS qv_config_font)
