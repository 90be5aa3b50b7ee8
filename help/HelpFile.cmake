# The compiled help file, built beside Quorvel.exe so the bare name the
# program asks for is found next to it.
if(WIN32)
  set(QUORVEL_HELP_FILE ${CMAKE_BINARY_DIR}/app/Quorvel.chm)
  file(GLOB _help_sources CONFIGURE_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/chm/*.htm ${CMAKE_CURRENT_SOURCE_DIR}/chm/*.css
    ${CMAKE_CURRENT_SOURCE_DIR}/chm/*.hh? ${CMAKE_CURRENT_SOURCE_DIR}/chm/*.txt)
  add_custom_command(
    OUTPUT ${QUORVEL_HELP_FILE}
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/chm/CompileHelp.sh
            ${CMAKE_CURRENT_SOURCE_DIR}/chm ${CMAKE_CURRENT_BINARY_DIR}/chm-work ${QUORVEL_HELP_FILE}
    DEPENDS ${_help_sources} ${CMAKE_CURRENT_SOURCE_DIR}/chm/CompileHelp.sh
    COMMENT "Compiling Quorvel.chm"
    VERBATIM)
  add_custom_target(QuorvelHelp ALL DEPENDS ${QUORVEL_HELP_FILE})
endif()
