# The zip and the per-user installer: what ships, staged side by side as the tool expects it.
set(package_name morvane-radio-tuner-${PROJECT_VERSION}-win64)
set(package_dir ${CMAKE_BINARY_DIR}/package)
set(MORVANE_STAGE ${package_dir}/${package_name})
set(zip ${CMAKE_BINARY_DIR}/${package_name}.zip)
set(MORVANE_INSTALLER ${CMAKE_BINARY_DIR}/morvane-radio-tuner-${PROJECT_VERSION}-setup.exe)
configure_file(${CMAKE_CURRENT_LIST_DIR}/installer.nsi.in ${package_dir}/installer.nsi @ONLY)
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
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/README.md ${MORVANE_STAGE}/
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${WIN_DEPS}/licenses ${MORVANE_STAGE}/licenses
  # GoogleTest builds only the tests; nothing of it ships.
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${MORVANE_STAGE}/licenses/googletest
  COMMAND ${CMAKE_COMMAND} -E chdir ${package_dir} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${package_name}
  COMMAND ${MAKENSIS} -V2 ${package_dir}/installer.nsi
  DEPENDS ${shipped_programs} lib_win ${MORVANE_BIN_DIR}/lib.win ${samples} ${package_dir}/installer.nsi
  COMMENT "Packing ${package_name}.zip and the installer"
  VERBATIM)
add_custom_target(windows_packages ALL DEPENDS ${zip} ${MORVANE_INSTALLER})
