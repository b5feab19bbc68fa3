# The window systems' own interfaces: xcb for X11 (the pointer hold, the frame
# estimate), and for Wayland the client code of the pointer-constraints protocol,
# generated from the file wayland-protocols ships.
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET wayland-client)
pkg_get_variable(wayland_protocols_dir wayland-protocols pkgdatadir)
find_program(WAYLAND_SCANNER wayland-scanner REQUIRED)

set(constraints_xml ${wayland_protocols_dir}/unstable/pointer-constraints/pointer-constraints-unstable-v1.xml)
set(generated_dir ${CMAKE_BINARY_DIR}/wayland)
set(constraints_header ${generated_dir}/pointer-constraints-unstable-v1-client-protocol.h)
set(constraints_code ${generated_dir}/pointer-constraints-unstable-v1-protocol.c)
add_custom_command(
  OUTPUT ${constraints_header} ${constraints_code}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${generated_dir}
  COMMAND ${WAYLAND_SCANNER} client-header ${constraints_xml} ${constraints_header}
  COMMAND ${WAYLAND_SCANNER} private-code ${constraints_xml} ${constraints_code}
  DEPENDS ${constraints_xml}
  VERBATIM)
target_sources(fenu_desktop PRIVATE ${constraints_header} ${constraints_code})
target_include_directories(fenu_desktop PRIVATE ${generated_dir})
target_link_libraries(fenu_desktop PUBLIC PkgConfig::XCB PkgConfig::WAYLAND_CLIENT)
