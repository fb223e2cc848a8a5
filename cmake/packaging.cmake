# The Debian package, built by CPack (scripts/release configures it with
# JINRO_DEBIAN_PACKAGE=ON, the prefix /usr and the games folder for the binary).
option(JINRO_DEBIAN_PACKAGE "Install as the Debian package lays files out" OFF)
set(JINRO_MAINTAINER "jinro developers <jinro@example.org>" CACHE STRING
    "The package's maintainer, as Name <address>")

if(JINRO_DEBIAN_PACKAGE)
  # Debian compresses manual pages and changelogs, reproducibly (no name, no time).
  set(jinro_compressed)
  foreach(source docs/jinro.6 packaging/debian/changelog)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${name}.gz
      COMMAND gzip -9n -c ${CMAKE_SOURCE_DIR}/${source} > ${CMAKE_BINARY_DIR}/${name}.gz
      DEPENDS ${CMAKE_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND jinro_compressed ${CMAKE_BINARY_DIR}/${name}.gz)
  endforeach()
  add_custom_target(jinro_package_files ALL DEPENDS ${jinro_compressed})
  install(FILES ${CMAKE_BINARY_DIR}/jinro.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
  set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc/jinro)
  install(FILES packaging/debian/copyright README.md DESTINATION ${doc})
  install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${doc})
else()
  install(FILES docs/jinro.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jinro)
set(CPACK_PACKAGE_VENDOR "the jinro developers")
set(CPACK_PACKAGE_CONTACT "${JINRO_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${JINRO_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)  # jinro_X.Y.Z_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Werewolf (jinro) party game for the terminal, in Japanese")
# The synopsis is the summary above; this is the extended description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Ten seats sit in a village: two werewolves, a madman, a seer, a medium, a
hunter and four villagers, their roles dealt at random. You play both
werewolves; the computer plays the other eight seats. Each night you choose
whom the werewolves attack; each morning the seats that claim a role publish
their results, everybody votes and the most-voted seat is hanged.
.
All text is Japanese; the game runs in any terminal of 76 x 24 cells or more,
in UTF-8, EUC-JP or Shift-JIS.")
include(CPack)
