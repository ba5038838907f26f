# Install layout (GNU directories under the prefix):
#   bin/                      sentinax4, sentinax4-headless and the tools
#   lib/sentinax/             libhmio.so and the companion libraries, found
#                             through the program's RPATH ($ORIGIN/../lib/sentinax)
#   share/sentinax/           board table, channel map, skins with their
#                             artwork, SOUND.wav, simulator scenarios
#   share/applications/, share/metainfo/, share/icons/hicolor/  desktop files
#   share/man/man1/, share/doc/sentinax4/ (examples/settings.ini: the service's
#                             limits, copied to /etc/sentinax/ by the administrator)
#   share/sentinax/prometheus/ alert rules, their tests, a Grafana dashboard
#   lib/systemd/system/       sentinax4-headless.service, not enabled
# The program finds lib/sentinax and share/sentinax relative to itself, so the
# same build installs into any prefix. A Debian package: cpack -G DEB.
include(GNUInstallDirs)

set(SX_PRIVATE_LIBDIR lib/sentinax)
set(SX_DATADIR ${CMAKE_INSTALL_DATADIR}/sentinax)

set_target_properties(sentinax4 sentinax4-headless PROPERTIES
                      INSTALL_RPATH "\$ORIGIN/../${SX_PRIVATE_LIBDIR}")
install(TARGETS sentinax4 sentinax4-headless sentinax-profile sentinax-shm sentinax-inventory
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS hmio quendra panora LIBRARY DESTINATION ${SX_PRIVATE_LIBDIR})

# The board wiring rows, where the tree has them.
file(GLOB SX_WIRING_FILES ${CMAKE_SOURCE_DIR}/data/board-wiring.table)
install(FILES ${CMAKE_SOURCE_DIR}/data/boards.table ${CMAKE_SOURCE_DIR}/data/hwmon-channels.map
              ${SX_WIRING_FILES}
              ${CMAKE_SOURCE_DIR}/data/SOUND.wav
        DESTINATION ${SX_DATADIR})
file(GLOB SX_SKIN_FILES ${CMAKE_SOURCE_DIR}/data/Skins/*.ini)
install(FILES ${SX_SKIN_FILES} DESTINATION ${SX_DATADIR}/Skins)
# The skins' pictures, drawn by the artwork generator into the run folder
# (never the run folder's .ini files, which hold the settings of test runs).
install(DIRECTORY ${SENTINAX_RUN_DIR}/Skins/ DESTINATION ${SX_DATADIR}/Skins
        FILES_MATCHING PATTERN "*.jpg" PATTERN "*.png" PATTERN "*.bmp")
file(GLOB SX_SCENARIO_FILES ${CMAKE_SOURCE_DIR}/data/scenarios/*.scenario)
install(FILES ${SX_SCENARIO_FILES} DESTINATION ${SX_DATADIR}/scenarios)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/sentinax4.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/example.korvane.Sentinax4.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${SENTINAX_ART_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# Manual pages, compressed as Debian expects (-n: no time stamp, reproducible).
set(SX_MAN_PAGES sentinax4 sentinax-profile sentinax-shm sentinax-inventory)
set(SX_MAN_OUTPUTS)
foreach(page ${SX_MAN_PAGES})
  set(out ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/packaging/man/${page}.1 > ${out}
    DEPENDS ${CMAKE_SOURCE_DIR}/packaging/man/${page}.1
    COMMENT "Manual page ${page}(1)")
  list(APPEND SX_MAN_OUTPUTS ${out})
endforeach()
add_custom_target(sx_man ALL DEPENDS ${SX_MAN_OUTPUTS})
install(FILES ${SX_MAN_OUTPUTS} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The monitor as a service: installed, never enabled by the package; nothing
# goes into /etc.
install(FILES ${CMAKE_SOURCE_DIR}/packaging/systemd/sentinax4-headless.service
        DESTINATION lib/systemd/system)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/systemd/settings.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sentinax4/examples)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/prometheus/sentinax-rules.yml
              ${CMAKE_SOURCE_DIR}/packaging/prometheus/sentinax-rules-test.yml
              ${CMAKE_SOURCE_DIR}/packaging/prometheus/sentinax-dashboard.json
        DESTINATION ${SX_DATADIR}/prometheus)

file(GLOB SX_DOC_FILES ${CMAKE_SOURCE_DIR}/docs/*.md)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${SX_DOC_FILES}
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/sentinax4)

# Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sentinax4)
set(CPACK_PACKAGE_VENDOR "Korvane Technology")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hardware-health monitor for desktop boards")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Sentinax 4 watches the CPU core voltage, the supply rails, the CPU and system\n"
    "temperatures and the fans of a desktop board through the kernel's hwmon sensors,\n"
    "shows them on a skinned window that hides to the tray, and warns, logs and\n"
    "sounds an alarm when a value leaves the limits you set. An overheating CPU\n"
    "starts a countdown to a clean power-off. Readings are published in shared\n"
    "memory and, on request, for Prometheus' node exporter.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Sentinax developers <sentinax@korvane.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://korvane.example/sentinax4")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_INSTALL_PREFIX}/${SX_PRIVATE_LIBDIR})
# The alarm needs a sound server's multimedia plugin; the tray and the window
# need the platform plugins of X11 (qt6-qpa-plugins) and of native Wayland
# sessions (qt6-wayland): all are loaded at run time, so shlibdeps does not
# see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6multimedia6, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "prometheus-node-exporter, prometheus, hardinfo")
set(CPACK_STRIP_FILES ON)
# CPack adds an ldconfig call (postinst, postrm) for libraries under
# /usr/lib, even private ones; it runs at installation, never at log-in.
include(CPack)
