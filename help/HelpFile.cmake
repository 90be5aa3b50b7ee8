# The compiled help file, built beside Quorvel.exe so the bare name the
# program asks for is found next to it. Its pages are the ones the help
# project (Quorvel.hhp) names.
set(QUORVEL_HELP_FILE ${CMAKE_BINARY_DIR}/app/Quorvel.chm)
set(_help_sources
  About.htm Configuration.htm DropFiles.htm FileExit.htm FileOpen.htm HelpContents.htm Keys.htm OptionsFont.htm
  Viewer.htm Welcome.htm Quorvel.css Quorvel.hhp Contents.hhc Index.hhk Contexts.hhm CSHelp.txt CompileHelp.sh)
list(TRANSFORM _help_sources PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/chm/)
add_custom_command(
  OUTPUT ${QUORVEL_HELP_FILE}
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/chm/CompileHelp.sh
          ${CMAKE_CURRENT_SOURCE_DIR}/chm ${CMAKE_CURRENT_BINARY_DIR}/chm-work ${QUORVEL_HELP_FILE}
  DEPENDS ${_help_sources}
  COMMENT "Compiling Quorvel.chm"
  VERBATIM)
add_custom_target(QuorvelHelp ALL DEPENDS ${QUORVEL_HELP_FILE})
