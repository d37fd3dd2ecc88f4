# Installs the editor as Linux desktop software and makes the Debian package (cpack -G DEB, run by
# scripts/package.sh): programs in bin, a desktop entry, icons, document types, a man page and bash
# completion for orvo-cli. Nothing is installed outside the package's own files, so removing it
# leaves only the player's library behind.
include(GNUInstallDirs)
# scripts/package.sh builds what the package holds; installing must not build the tests and benchmarks too.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(ORVO_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

install(TARGETS OrvoEditor orvo-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${ORVO_PACKAGING_DIR}/orvo-editor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${ORVO_PACKAGING_DIR}/orvo-editor-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME orvo-editor.xml)
install(FILES ${ORVO_PACKAGING_DIR}/icons/orvo-editor.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${ORVO_PACKAGING_DIR}/icons/${size}x${size}/orvo-editor.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${ORVO_PACKAGING_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvo-editor)

# The man page and the completion are written by orvo-cli itself from its commands' help texts.
set(ORVO_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
add_custom_command(
  OUTPUT ${ORVO_GENERATED_DIR}/orvo-cli.1.gz ${ORVO_GENERATED_DIR}/orvo-cli.bash-completion
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVO_GENERATED_DIR}
  COMMAND $<TARGET_FILE:orvo-cli> --man > ${ORVO_GENERATED_DIR}/orvo-cli.1
  COMMAND gzip -9nf ${ORVO_GENERATED_DIR}/orvo-cli.1
  COMMAND $<TARGET_FILE:orvo-cli> --bash-completion > ${ORVO_GENERATED_DIR}/orvo-cli.bash-completion
  DEPENDS orvo-cli
  VERBATIM)
# The editor writes its own page from its --help texts, before JUCE starts (no display needed).
add_custom_command(
  OUTPUT ${ORVO_GENERATED_DIR}/OrvoEditor.1.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVO_GENERATED_DIR}
  COMMAND $<TARGET_FILE:OrvoEditor> --man > ${ORVO_GENERATED_DIR}/OrvoEditor.1
  COMMAND gzip -9nf ${ORVO_GENERATED_DIR}/OrvoEditor.1
  DEPENDS OrvoEditor
  VERBATIM)
add_custom_target(orvo_cli_docs ALL DEPENDS ${ORVO_GENERATED_DIR}/orvo-cli.1.gz
                                            ${ORVO_GENERATED_DIR}/orvo-cli.bash-completion
                                            ${ORVO_GENERATED_DIR}/OrvoEditor.1.gz)
install(FILES ${ORVO_GENERATED_DIR}/orvo-cli.1.gz ${ORVO_GENERATED_DIR}/OrvoEditor.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${ORVO_GENERATED_DIR}/orvo-cli.bash-completion DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
        RENAME orvo-cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvo-editor)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Orvo Editor developers <orvo-editor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor and librarian for the Orvo analog polyphonic synthesizer")
set(CPACK_PACKAGE_DESCRIPTION
    "Shows and edits every Program parameter of the Orvo over MIDI, reads and stores its Programs, \
Mixes and banks, and keeps a library of them on disk. A Virtual Orvo built into the editor answers \
like the instrument, for trying it without one. orvo-cli inspects and checks .syx files and library \
documents.")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Dependencies are read from what the two programs link (dpkg-shlibdeps).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# JUCE opens the X libraries with dlopen when the window comes up, so shlibdeps cannot see them;
# shlibdeps adds its findings to these.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libx11-6, libxext6, libxcursor1, libxinerama1, libxrender1, libxrandr2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, shared-mime-info, desktop-file-utils")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
