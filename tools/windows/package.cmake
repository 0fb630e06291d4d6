# The zip and the per-user installer: what ships, staged side by side as the tool expects it.
set(package_name morvane-radio-tuner-${PROJECT_VERSION}-win64)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(MORVANE_STAGE ${package_dir}/${package_name})
set(zip ${CMAKE_BINARY_DIR}/${package_name}.zip)
set(MORVANE_INSTALLER ${CMAKE_BINARY_DIR}/morvane-radio-tuner-${PROJECT_VERSION}-setup.exe)
set(MORVANE_INSTALL_NSH ${package_dir}/install-files.nsh)
set(MORVANE_UNINSTALL_NSH ${package_dir}/uninstall-files.nsh)
configure_file(${CMAKE_CURRENT_LIST_DIR}/installer.nsi.in ${package_dir}/installer.nsi @ONLY)
# The read-me for Windows users, with Windows' line ends so that every editor shows its lines.
configure_file(${CMAKE_CURRENT_LIST_DIR}/README.txt.in ${package_dir}/README.txt @ONLY NEWLINE_STYLE CRLF)
# The fonts drawn into the game data travel with their licences, as the libraries do.
set(font_licenses /usr/share/doc/fonts-open-sans/copyright /usr/share/common-licenses/Apache-2.0
    /usr/share/doc/fonts-dejavu-core/copyright)
foreach(license ${font_licenses})
  if(NOT EXISTS ${license})
    message(FATAL_ERROR "${license} is missing: the fonts' licences ship with the programs")
  endif()
endforeach()
find_program(MAKENSIS makensis REQUIRED)

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
       COMMAND ${CMAKE_STRIP} ${MORVANE_STAGE}/$<TARGET_FILE_NAME:${target}>)
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
  COMMAND ${CMAKE_COMMAND} -E make_directory ${MORVANE_STAGE}/licenses/open-sans ${MORVANE_STAGE}/licenses/dejavu
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-open-sans/copyright
          /usr/share/common-licenses/Apache-2.0 ${MORVANE_STAGE}/licenses/open-sans/
  COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/fonts-dejavu-core/copyright ${MORVANE_STAGE}/licenses/dejavu/
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${package_name}
  COMMAND ${CMAKE_COMMAND} -DSTAGE=${MORVANE_STAGE} -DINSTALL_NSH=${MORVANE_INSTALL_NSH}
          -DUNINSTALL_NSH=${MORVANE_UNINSTALL_NSH} -P ${CMAKE_CURRENT_LIST_DIR}/installer_files.cmake
  COMMAND ${MAKENSIS} -V2 ${package_dir}/installer.nsi
  DEPENDS ${shipped_programs} lib_win ${MORVANE_BIN_DIR}/lib.win ${samples} ${package_dir}/installer.nsi
          ${package_dir}/README.txt ${CMAKE_CURRENT_LIST_DIR}/installer_files.cmake ${font_licenses}
  COMMENT "Packing ${package_name}.zip and the installer"
  VERBATIM)
add_custom_target(windows_packages ALL DEPENDS ${zip} ${MORVANE_INSTALLER})
