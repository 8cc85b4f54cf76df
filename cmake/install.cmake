# Installation: the shared library with its SONAME links, the public
# header, the tool, a CMake package (find_package(valfmt) gives the target
# valfmt::valfmt) and a pkg-config file.
include(CMakePackageConfigHelpers)

install(TARGETS valfmt EXPORT valfmtTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/include/valfmt.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(TARGETS valfmt_tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

set(VALFMT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/valfmt)
install(EXPORT valfmtTargets NAMESPACE valfmt::
  DESTINATION ${VALFMT_CMAKE_DIR})
configure_package_config_file(
  ${CMAKE_CURRENT_SOURCE_DIR}/cmake/valfmtConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/valfmtConfig.cmake
  INSTALL_DESTINATION ${VALFMT_CMAKE_DIR})
write_basic_package_version_file(
  ${CMAKE_CURRENT_BINARY_DIR}/valfmtConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/valfmtConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/valfmtConfigVersion.cmake
  DESTINATION ${VALFMT_CMAKE_DIR})

# pkg-config: the file finds the prefix from its own place, so that a
# package installed with cmake --install --prefix DIR (or moved) stays right.
file(RELATIVE_PATH VALFMT_PC_TO_PREFIX
  "/p/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/p")
set(VALFMT_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
set(VALFMT_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/cmake/valfmt.pc.in
  ${CMAKE_CURRENT_BINARY_DIR}/valfmt.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/valfmt.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
