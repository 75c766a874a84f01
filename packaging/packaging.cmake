# Installs Orvex like a desktop program (program, launcher, resources, desktop entry, icon) and
# packs that layout as a Debian package: `cmake --install <build>` or `cpack` in <build>.
include(GNUInstallDirs)

set(ORVEX_PACKAGE_MAINTAINER "Orvex developers <orvex@localhost>"
    CACHE STRING "Maintainer named in the Debian package")

install(TARGETS orvex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS orvex_make_demo RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/orvex)
install(FILES resources/FileCopy.avi resources/click.wav resources/Orvex.html
        DESTINATION ${CMAKE_INSTALL_DATADIR}/orvex)
install(FILES packaging/orvex.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/orvex.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)

# Two launchers from one template: the installed one finds everything from its own place, so
# the installed tree can move (a package, a test prefix); the one in the build folder starts the
# freshly built program with the resources of the source tree (the run command uses it).
file(RELATIVE_PATH _orvex_to_share ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR})
file(RELATIVE_PATH _orvex_to_libexec ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBEXECDIR})
set(ORVEX_LAUNCH_PROGRAM "$here/orvex")
set(ORVEX_LAUNCH_RESOURCES "$here/${_orvex_to_share}/orvex")
set(ORVEX_LAUNCH_MAKE_DEMO "$here/${_orvex_to_libexec}/orvex/orvex_make_demo")
configure_file(packaging/orvex-launch.in ${CMAKE_BINARY_DIR}/packaging/orvex-launch @ONLY)
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/orvex-launch DESTINATION ${CMAKE_INSTALL_BINDIR})

set(ORVEX_LAUNCH_PROGRAM "$<TARGET_FILE:orvex>")
set(ORVEX_LAUNCH_RESOURCES "${CMAKE_SOURCE_DIR}/resources")
set(ORVEX_LAUNCH_MAKE_DEMO "$<TARGET_FILE:orvex_make_demo>")
configure_file(packaging/orvex-launch.in ${CMAKE_BINARY_DIR}/packaging/orvex-launch-build.in @ONLY)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/orvex-launch
     INPUT ${CMAKE_BINARY_DIR}/packaging/orvex-launch-build.in
     FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                      WORLD_EXECUTE)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvex)
set(CPACK_PACKAGE_VENDOR "Orvex")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Installs add-ons into FS98, FS2000, CFS and CFS2 run under Wine")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvex moves downloaded aircraft, panels, sound sets and sceneries from its assembly folder \
into the directory trees of Flight Simulator 98 and 2000 and Combat Flight Simulator 1 and 2. \
Start it from the desktop entry or with orvex-launch; orvex-launch --demo tries it on sample \
simulators.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVEX_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries (Qt 6, libarchive) come from the binaries themselves; the xcb platform plugin
# ships with libqt6gui6. Wine runs the simulators; xdg-utils finds the zip program.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, wine")
include(CPack)
