# Installation of the library for other projects: the shared library, the public headers, the
# CMake package files and the pkg-config file.
include(CMakePackageConfigHelpers)

set(MORVIT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Morvit32)

install(TARGETS Morvit32 EXPORT Morvit32Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/morvit DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(EXPORT Morvit32Targets NAMESPACE Morvit32:: DESTINATION ${MORVIT_CMAKE_DIR})

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/Morvit32Config.cmake.in
  ${PROJECT_BINARY_DIR}/Morvit32Config.cmake INSTALL_DESTINATION ${MORVIT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/Morvit32ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/Morvit32Config.cmake
              ${PROJECT_BINARY_DIR}/Morvit32ConfigVersion.cmake
        DESTINATION ${MORVIT_CMAKE_DIR})

# The pkg-config file finds the prefix from its own place, so that the tree can be installed
# (or moved) anywhere.
file(RELATIVE_PATH MORVIT_PC_TO_PREFIX "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
configure_file(${PROJECT_SOURCE_DIR}/cmake/Morvit32.pc.in ${PROJECT_BINARY_DIR}/Morvit32.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/Morvit32.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
