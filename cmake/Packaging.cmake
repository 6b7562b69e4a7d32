# Installation and the Debian package.
#
# `cmake --install` lays the program out as a Debian system expects:
#   bin/zelk, bin/zelk-batch           the window and the headless runner
#   libexec/zelk/zelk-xls-reader       the helper that reads .xls workbooks
#   share/zelk/                        default ZELK.conf, help.doc, template.xls
#   share/applications/zelk.desktop    the applications menu entry
#   share/icons/hicolor/scalable/apps/zelk.svg
#   share/man/man1/zelk.1.gz, zelk-batch.1.gz
#   share/doc/zelk/                    copyright, changelog, examples/ (systemd user units)
# The program finds the installed layout from where its executable lies
# (platform/ProgramPlaces), so any prefix works.  CPack's DEB generator
# packs the same layout under /usr (scripts/make-deb.sh).

include(GNUInstallDirs)

set(ZELK_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(ZELK_STAGED_DIR ${CMAKE_BINARY_DIR}/packaging)

# The shipped defaults, written afresh from the key table on every build
# (the ZELK.conf beside the built executables may hold a developer's
# settings and is never packed).
add_custom_command(
  OUTPUT ${ZELK_STAGED_DIR}/ZELK.conf
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_STAGED_DIR}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${ZELK_STAGED_DIR}/ZELK.conf
  COMMAND zelk-default-conf ${ZELK_STAGED_DIR}/ZELK.conf
  DEPENDS zelk-default-conf
  VERBATIM)

# zelk-batch's manual page lists the actions and their sections from the
# action table and the job catalog.
add_custom_command(
  OUTPUT ${ZELK_STAGED_DIR}/zelk-batch.1
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_STAGED_DIR}
  COMMAND zelk-manual-page ${ZELK_PACKAGING_DIR}/man/zelk-batch.1.in
          ${ZELK_STAGED_DIR}/zelk-batch.1
  DEPENDS zelk-manual-page ${ZELK_PACKAGING_DIR}/man/zelk-batch.1.in
  VERBATIM)

# Manual pages and the changelog compressed as Debian keeps them (-n: no
# name or time stamp, so the package is the same on every build).
set(ZELK_STAGED_FILES ${ZELK_STAGED_DIR}/ZELK.conf)
foreach(source ${ZELK_PACKAGING_DIR}/man/zelk.1 ${ZELK_STAGED_DIR}/zelk-batch.1
               ${ZELK_PACKAGING_DIR}/changelog)
  get_filename_component(name ${source} NAME)
  set(compressed ${ZELK_STAGED_DIR}/${name}.gz)
  add_custom_command(
    OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ZELK_STAGED_DIR}
    COMMAND sh -c "gzip -9n < '${source}' > '${compressed}'"
    DEPENDS ${source}
    VERBATIM)
  list(APPEND ZELK_STAGED_FILES ${compressed})
endforeach()
add_custom_target(zelk_packaging_files ALL DEPENDS ${ZELK_STAGED_FILES})

install(TARGETS zelk-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET zelk)
  install(TARGETS zelk RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS zelk-xls-reader RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/zelk)
install(FILES ${ZELK_STAGED_DIR}/ZELK.conf ${PROJECT_SOURCE_DIR}/resources/help.doc
              ${PROJECT_SOURCE_DIR}/resources/template.xls
        DESTINATION ${CMAKE_INSTALL_DATADIR}/zelk)
install(FILES ${ZELK_PACKAGING_DIR}/zelk.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/zelk.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${ZELK_STAGED_DIR}/zelk.1.gz ${ZELK_STAGED_DIR}/zelk-batch.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ZELK_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${ZELK_STAGED_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR}
        RENAME changelog.Debian.gz)
install(FILES ${ZELK_PACKAGING_DIR}/systemd/zelk-batch.service
              ${ZELK_PACKAGING_DIR}/systemd/zelk-batch.timer
        DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples)

# The Debian package: zelk_8.1-1_amd64.deb.  Libraries come from
# dpkg-shlibdeps; what the program loads at run time without linking it
# (recognition data; the faces the Word documents name resolve to AR PL
# UMing and Nimbus Roman or Liberation Serif, the window's Chinese to WenQuanYi;
# the window's platform and svg plugins, Qt's Chinese translations, xdg-open
# for documents and folders) is named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelk)
set(CPACK_PACKAGE_VENDOR Quillon)
set(CPACK_PACKAGE_CONTACT "Quillon <support@quillon.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quillon.example/zelk")
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "tesseract-ocr-chi-sim, tesseract-ocr-chi-sim-vert, tesseract-ocr-eng, tesseract-ocr-osd, fonts-arphic-uming, fonts-urw-base35 | fonts-liberation2, fonts-wqy-microhei, qt6-translations-l10n, qt6-qpa-plugins, libqt6svg6, xdg-utils")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch converter for scanned document images")
# The synopsis is the summary; CPack indents the long description and
# writes its empty line as Debian's " .".
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Converts trees of page scans (TIFF, JPEG), one directory per document,
into multi-page TIFF files, image-only PDF, searchable dual-layer PDF
(Simplified Chinese and English text recognition), Word and RTF
documents; it also splits multi-page files and renames in bulk.

Runs start by hand, daily or every few minutes, skip what is converted,
and keep failed items and dated result lists.  zelk-batch runs the same
conversions without the window, also split over the machines of a Slurm
cluster.")
include(CPack)
