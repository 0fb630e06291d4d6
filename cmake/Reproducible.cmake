# What makes two builds of one commit pack the same bytes.
# MORVANE_RELEASE_DATE: the date of the newest debian/changelog entry (dpkg-buildpackage's
# SOURCE_DATE_EPOCH). Files packed into lib.win, the zip and the installer carry it, not the time they
# were built.
file(STRINGS ${CMAKE_SOURCE_DIR}/debian/changelog release_line REGEX "^ -- " LIMIT_COUNT 1)
string(REGEX REPLACE "^ -- .*>  " "" MORVANE_RELEASE_DATE "${release_line}")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/debian/changelog)
# strip stamps a Windows program with the time it ran unless SOURCE_DATE_EPOCH says otherwise: no time,
# as the linker leaves it (--no-insert-timestamp).
set(MORVANE_STRIP ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=0 ${CMAKE_STRIP})
