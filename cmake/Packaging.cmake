# What "cmake --install" puts where, and the Debian package CPack makes of it
# ("cpack -G DEB" or the "package" target). The icon, menu entry and MIME
# type are installed by resources/, the manual pages by man/. Windows builds
# make the installer and the portable zip instead.
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/PackagingWindows.cmake)
    return()
endif()

install(TARGETS kelvorn-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(KELVORN_BUILD_VIEWER)
    install(TARGETS kelvorn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES samples/tube.dxf samples/cube.dxf samples/sphere.dxf samples/cone.dxf samples/cylinder.dxf
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

set(KELVORN_PACKAGE_MAINTAINER "Kelvorn developers <kelvorn@example.org>"
    CACHE STRING "The Maintainer field of the Debian package: NAME <EMAIL>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelvorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wireframe viewer for DXF 3DFACE meshes")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Kelvorn reads every 3DFACE entity of a DXF text file and draws the faces"
    "as a black wireframe on white, fitted to its window. Six keys turn the"
    "model 10 degrees a stroke about the three axes; F12 reads the file again."
    "kelvorn-tool prints a file's faces and extent, paints the viewer's picture"
    "into PNG or SVG files without a window, and writes boxes, spheres, cones"
    "and cylinders as DXF meshes.")
set(CPACK_PACKAGE_CONTACT "${KELVORN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELVORN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt and C++ runtime libraries the programs link, as dpkg-shlibdeps finds them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# A .deb installs under /usr; the paths written into the manual pages are the
# configured prefix's, which the presets set to /usr too.
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
include(CPack)
