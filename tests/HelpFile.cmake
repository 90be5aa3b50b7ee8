# The built help file holds its pages, its popup topics and its context map.
add_test(NAME ${QUORVEL_KIND_LABEL}HelpFile
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/HelpData/CheckHelpFile.sh
          ${CMAKE_BINARY_DIR}/app/Quorvel.chm ${QUORVEL_ROOT}/help/chm ${CMAKE_CURRENT_BINARY_DIR}/HelpFileCheck)
set_tests_properties(${QUORVEL_KIND_LABEL}HelpFile PROPERTIES TIMEOUT 60)
quorvel_test_tier(${QUORVEL_KIND_LABEL}HelpFile unit)
