# The Windows packages, made by "cpack --preset windows" from the Windows
# build: the installer kelvorn-VERSION-win64.exe (CPack's NSIS generator,
# with cmake/nsis/kelvorn_setup.nsh) and the portable kelvorn-VERSION-win64.zip.
# Both hold the same folder: the programs at its top beside README.txt, the
# sample meshes in samples\. Included by Packaging.cmake on Windows builds.

install(TARGETS kelvorn-tool RUNTIME DESTINATION .)
if(KELVORN_BUILD_VIEWER)
    install(TARGETS kelvorn RUNTIME DESTINATION .)
endif()
# CR LF: the text is read in Notepad.
configure_file(resources/README-windows.txt.in ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/README.txt DESTINATION .)
install(FILES samples/cube.dxf samples/sphere.dxf samples/cone.dxf samples/cylinder.dxf DESTINATION samples)

set(CPACK_GENERATOR NSIS ZIP)
# The values below reach the NSIS script as they are written here.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME kelvorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${KELVORN_PUBLISHER})
set(CPACK_PACKAGE_FILE_NAME kelvorn-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wireframe viewer for DXF 3DFACE meshes")
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

# The folder, the Start-menu folder and the uninstall entry are all
# "Kelvorn", the same for every version, so that a newer installer first
# removes the older Kelvorn.
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kelvorn)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Kelvorn)
set(CPACK_NSIS_PACKAGE_NAME Kelvorn)
set(CPACK_NSIS_DISPLAY_NAME Kelvorn)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/kelvorn.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/kelvorn.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME kelvorn.exe)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_MUI_FINISHPAGE_RUN kelvorn.exe)
# Kelvorn has no licence text to agree to; README.txt says what it is.
set(CPACK_NSIS_IGNORE_LICENSE_PAGE ON)

string(REPLACE "," "." installer_version_numbers "${KELVORN_VERSION_NUMBERS}")
string(JOIN "\n" CPACK_NSIS_DEFINES
    "!define KELVORN_VERSION_NUMBERS ${installer_version_numbers}"
    "!define KELVORN_PUBLISHER \"${KELVORN_PUBLISHER}\""
    "!include \"${CMAKE_CURRENT_LIST_DIR}/nsis/kelvorn_setup.nsh\"")
# The shortcut names the icon of kelvorn.exe (its KELVORN icon) itself.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\Kelvorn.lnk\" \"$INSTDIR\\kelvorn.exe\" \"\" \"$INSTDIR\\kelvorn.exe\" 0")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "Delete \"$SMPROGRAMS\\$MUI_TEMP\\Kelvorn.lnk\"")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "Call RegisterDxfAssociation")
string(JOIN "\n" CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "Call un.UnregisterDxfAssociation" "Call un.ForgetInstallFolder")
include(CPack)
