# The download packages of a Windows build: a portable zip and a setup
# program, both made by CPack from the install rules below. `cpack` in the
# build folder (or its `package` target) writes them to packages/.

include_guard(GLOBAL)

# Included for Windows builds only, after the program's folder.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(QUORVEL_PACKAGE_SYSTEM win64)
  set(_package_nsis_target amd64-unicode)
else()
  set(QUORVEL_PACKAGE_SYSTEM win32)
  set(_package_nsis_target x86-unicode)
endif()
set(QUORVEL_PACKAGE_FILE_NAME Quorvel-${PROJECT_VERSION}-${QUORVEL_PACKAGE_SYSTEM})
set(QUORVEL_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

# Everything lies in one folder: the program finds its help file beside it.
configure_file(${QUORVEL_ROOT}/resources/README.txt.in ${CMAKE_BINARY_DIR}/package/README.txt @ONLY
               NEWLINE_STYLE WIN32)
configure_file(${QUORVEL_ROOT}/LICENSE ${CMAKE_BINARY_DIR}/package/LICENSE.txt COPYONLY)
install(TARGETS Quorvel RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/app/Quorvel.chm ${CMAKE_BINARY_DIR}/package/README.txt
              ${CMAKE_BINARY_DIR}/package/LICENSE.txt DESTINATION .)

# Values reach the generators exactly as written here.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME Quorvel)
set(CPACK_PACKAGE_VENDOR Talmore)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A small read-only hex viewer")
set(CPACK_PACKAGE_FILE_NAME ${QUORVEL_PACKAGE_FILE_NAME})
set(CPACK_PACKAGE_DIRECTORY ${QUORVEL_PACKAGE_DIRECTORY})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Talmore\\Quorvel")
# Without the version, so a newer setup replaces the entry in Add or Remove
# Programs instead of adding a second one.
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quorvel)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_BINARY_DIR}/package/LICENSE.txt)
set(CPACK_STRIP_FILES ON)

# The zip unpacks to one folder named after the package.
set(CPACK_ZIP_COMPONENT_INSTALL OFF)

# The 64-bit setup is a 64-bit program itself, so it writes the 64-bit
# views of Program Files and the registry, and runs where 32-bit programs
# cannot. There $PROGRAMFILES is the 64-bit folder; $PROGRAMFILES64 is not
# used, as the script sets the target only after the install folder, and
# that name then keeps its 32-bit meaning.
set(CPACK_NSIS_DEFINES "Target ${_package_nsis_target}")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES")
set(CPACK_NSIS_PACKAGE_NAME Quorvel)
set(CPACK_NSIS_DISPLAY_NAME Quorvel)
# The Start-menu shortcut. The uninstaller's last commands also remove the
# vendor folder in Program Files and the vendor's registry key when nothing
# else is left in them.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Quorvel.lnk" "$INSTDIR\Quorvel.exe"]])
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[Delete "$SMPROGRAMS\$MUI_TEMP\Quorvel.lnk"
  RMDir "$PROGRAMFILES\Talmore"
  DeleteRegKey /ifempty SHCTX "Software\Talmore"]])
set(CPACK_NSIS_INSTALLED_ICON_NAME Quorvel.exe)
set(CPACK_NSIS_MUI_ICON ${QUORVEL_ROOT}/resources/Quorvel.ico)
set(CPACK_NSIS_MUI_UNIICON ${QUORVEL_ROOT}/resources/Quorvel.ico)
set(CPACK_NSIS_COMPRESSOR lzma)

include(CPack)
