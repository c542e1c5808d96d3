# Installation of the library for other projects: the shared library, the public headers, the
# CMake package files and the pkg-config file. Each file belongs to a component, as the release
# packages take them apart (cmake/Packaging.cmake): "library" the run time, "dev" what a client
# builds with, "tool" the command-line tool with its documents.
include(CMakePackageConfigHelpers)

set(MORVIT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Morvit32)

install(TARGETS Morvit32 EXPORT Morvit32Targets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library NAMELINK_COMPONENT dev
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT library
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/morvit DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT dev)
install(EXPORT Morvit32Targets NAMESPACE Morvit32:: DESTINATION ${MORVIT_CMAKE_DIR} COMPONENT dev)
if(WIN32)
  # For MSVC clients of the C interface: the .def file of the VBase_ functions and the import
  # library made from it (the MinGW import library is the target's archive above).
  install(FILES ${PROJECT_BINARY_DIR}/Morvit32.def ${PROJECT_BINARY_DIR}/Morvit32.lib
          DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev)
endif()

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/Morvit32Config.cmake.in
  ${PROJECT_BINARY_DIR}/Morvit32Config.cmake INSTALL_DESTINATION ${MORVIT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/Morvit32ConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/Morvit32Config.cmake
              ${PROJECT_BINARY_DIR}/Morvit32ConfigVersion.cmake
        DESTINATION ${MORVIT_CMAKE_DIR} COMPONENT dev)

# The pkg-config file finds the prefix from its own place, so that the tree can be installed
# (or moved) anywhere.
file(RELATIVE_PATH MORVIT_PC_TO_PREFIX "/root/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/root")
configure_file(${PROJECT_SOURCE_DIR}/cmake/Morvit32.pc.in ${PROJECT_BINARY_DIR}/Morvit32.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/Morvit32.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
        COMPONENT dev)
