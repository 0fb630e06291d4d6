# The zip and the per-user installer: what ships, staged side by side as the tool expects it.
include(${CMAKE_SOURCE_DIR}/cmake/Reproducible.cmake)
set(package_name morvane-radio-tuner-${PROJECT_VERSION}-win64)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(MORVANE_STAGE ${package_dir}/${package_name})
set(zip ${CMAKE_BINARY_DIR}/${package_name}.zip)
set(MORVANE_INSTALLER ${CMAKE_BINARY_DIR}/morvane-radio-tuner-${PROJECT_VERSION}-setup.exe)
set(MORVANE_INSTALL_NSH ${package_dir}/install-files.nsh)
set(MORVANE_UNINSTALL_NSH ${package_dir}/uninstall-files.nsh)
configure_file(${CMAKE_CURRENT_LIST_DIR}/installer.nsi.in ${package_dir}/installer.nsi @ONLY)
find_program(MAKENSIS makensis REQUIRED)
find_program(ZIP zip REQUIRED)
# The read-me for Windows users, with Windows' line ends so that every editor shows its lines.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${package_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
# Beside the libraries built for Windows, what else is inside the programs travels with its licence:
# the fonts drawn into the game data, zlib, and the compiler's runtime and threads linked statically.
set(extra_licenses open-sans:/usr/share/doc/fonts-open-sans/copyright
    open-sans:/usr/share/common-licenses/Apache-2.0 dejavu:/usr/share/doc/fonts-dejavu-core/copyright
    zlib:/usr/share/doc/libz-mingw-w64-dev/copyright mingw-w64:/usr/share/doc/mingw-w64-x86-64-dev/copyright
    gcc-runtime:/usr/share/doc/gcc-mingw-w64-base/copyright)
set(copy_licenses)
set(license_files)
foreach(entry ${extra_licenses})
  string(REGEX MATCH "^([^:]+):(.+)$" _ ${entry})
  if(NOT EXISTS ${CMAKE_MATCH_2})
    message(FATAL_ERROR "${CMAKE_MATCH_2} is missing: it ships with the programs")
  endif()
  list(APPEND copy_licenses COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVANE_STAGE}/licenses/${CMAKE_MATCH_1}
       COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_MATCH_2} ${MORVANE_STAGE}/licenses/${CMAKE_MATCH_1}/)
  list(APPEND license_files ${CMAKE_MATCH_2})
endforeach()

set(shipped_programs morvane-radio-tuner morvane-radio-tuner-console)
foreach(target tuner_dll morvane-cmd)
  if(TARGET ${target})
    list(APPEND shipped_programs ${target})
  endif()
endforeach()
set(copy_programs)
# Shipped without their debugging sections, which make up more than a third of them.
foreach(target ${shipped_programs})
  list(APPEND copy_programs COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${MORVANE_STAGE}/
       COMMAND ${MORVANE_STRIP} ${MORVANE_STAGE}/$<TARGET_FILE_NAME:${target}>)
endforeach()
set(samples ${MORVANE_HOST_BUILD}/bin/samples/demo_track.sab ${MORVANE_HOST_BUILD}/bin/samples/demo_track.mab)

add_custom_command(OUTPUT ${zip} ${MORVANE_INSTALLER}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MORVANE_STAGE} ${zip}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVANE_STAGE}/samples
  ${copy_programs}
  COMMAND ${CMAKE_COMMAND} -E copy ${MORVANE_BIN_DIR}/lib.win ${MORVANE_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E copy ${samples} ${MORVANE_STAGE}/samples/
  COMMAND ${CMAKE_COMMAND} -E copy ${package_dir}/README.txt ${MORVANE_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${WIN_DEPS}/licenses ${MORVANE_STAGE}/licenses
  # GoogleTest builds only the tests; nothing of it ships.
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MORVANE_STAGE}/licenses/googletest
  ${copy_licenses}
  # The same bytes from every build: modes whatever the umask, times the release's.
  COMMAND chmod -R u=rwX,go=rX ${MORVANE_STAGE}
  COMMAND find ${MORVANE_STAGE} -exec touch --no-dereference --date=${MORVANE_RELEASE_DATE} {} +
  # Info-ZIP without its extra fields (they hold the access time, which reading the files changes),
  # members in name order, times in UTC (a zip holds local times).
  COMMAND sh -c "cd \"$1\" && find \"$2\" -type f | LC_ALL=C sort | TZ=UTC \"$4\" -X -D -q \"$3\" -@" -
          ${package_dir} ${package_name} ${zip} ${ZIP}
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${MORVANE_STAGE} -DINSTALL_NSH=${MORVANE_INSTALL_NSH}
          -DUNINSTALL_NSH=${MORVANE_UNINSTALL_NSH} -P ${CMAKE_CURRENT_LIST_DIR}/installer_files.cmake
  COMMAND ${MAKENSIS} -V2 ${package_dir}/installer.nsi
  DEPENDS ${shipped_programs} lib_win ${MORVANE_BIN_DIR}/lib.win ${samples} ${package_dir}/installer.nsi
          ${package_dir}/README.txt ${CMAKE_CURRENT_LIST_DIR}/installer_files.cmake ${license_files}
  COMMENT "Packing ${package_name}.zip and the installer"
  VERBATIM)
add_custom_target(windows_packages ALL DEPENDS ${zip} ${MORVANE_INSTALLER})
