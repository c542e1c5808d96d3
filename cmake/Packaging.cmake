# Release packages, made by CPack from the install rules (`make package`): on Linux one Debian
# package per component, on Windows one ZIP archive per architecture with everything in it.
# Every package carries the project's version (project() in the top CMakeLists.txt), the same
# that `morvit --version` prints.
set(CPACK_PACKAGE_NAME morvit)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Target-code back end of a controller engineering tool: domain generation, dump and back-translation")
set(CPACK_PACKAGE_CONTACT "Morvit32 developers <morvit32@localhost>")

if(WIN32)
  if(MORVIT_WIN_ARCH STREQUAL "i686")
    set(MORVIT_PACKAGE_ARCH win32)
  else()
    set(MORVIT_PACKAGE_ARCH win64)
  endif()
  # morvit-VERSION-win32.zip holds the folder morvit-VERSION-win32: bin (Morvit32.dll with the
  # run-time DLLs it needs, morvit.exe, the example C client), lib (the MinGW and MSVC import
  # libraries, the .def file, the CMake package), include, share (the job schema, the documents).
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME morvit-${PROJECT_VERSION}-${MORVIT_PACKAGE_ARCH})
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME libmorvit32-1)
  set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_LIBRARY_PACKAGE_DEPENDS "libc6, libstdc++6")
  set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "Morvit32 shared library\n The library that generates, lists and back-translates domain files.")
  set(CPACK_DEBIAN_DEV_PACKAGE_NAME libmorvit32-dev)
  set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libmorvit32-1 (= ${PROJECT_VERSION})")
  set(CPACK_COMPONENT_DEV_DESCRIPTION "Morvit32 development files\n Headers, the CMake package, the pkg-config file and the job schema.")
  set(CPACK_DEBIAN_TOOL_PACKAGE_NAME morvit)
  set(CPACK_DEBIAN_TOOL_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_TOOL_PACKAGE_DEPENDS "libmorvit32-1 (= ${PROJECT_VERSION}), libsqlite3-0")
  set(CPACK_DEBIAN_PYTHON_PACKAGE_NAME python3-morvit)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_SECTION python)
  set(CPACK_DEBIAN_PYTHON_PACKAGE_DEPENDS
      "libmorvit32-1 (= ${PROJECT_VERSION}), python3 (>= ${Python3_VERSION_MAJOR}.${Python3_VERSION_MINOR}), python3 (<< ${Python3_VERSION_MAJOR}.${MORVIT_PYTHON_NEXT_MINOR})")
  set(CPACK_COMPONENT_PYTHON_DESCRIPTION "Python module morvit\n Data sets, listing events, generation and back-translation of domain files from Python scripts.")
  set(CPACK_COMPONENT_TOOL_DESCRIPTION "morvit command-line tool\n Generates, checks, dumps, compares, views and back-translates data sets; with its manual page, bash completion and documents.")
endif()
# Only the components that the packages are made of (the test programs install nothing).
set(CPACK_COMPONENTS_ALL library dev tool)
if(TARGET morvit_python)
  list(APPEND CPACK_COMPONENTS_ALL python)
endif()
if(WIN32)
  list(APPEND CPACK_COMPONENTS_ALL examples)
endif()
include(CPack)
