# What the Windows cross-build needs beyond the toolchain: the header-only packages of the
# build machine (staged alone, so that no Linux header reaches the Windows compiler),
# GoogleTest built from Debian's sources, SQLite built from the checked amalgamation that
# scripts/setup.sh fetches, and a C++ run time linked statically into every binary, so that
# the DLL and the programs need only the system's DLLs.
set(MORVIT_HOST_HEADERS ${PROJECT_BINARY_DIR}/host-headers)
file(MAKE_DIRECTORY ${MORVIT_HOST_HEADERS})
foreach(dir nlohmann CLI rapidjson)
  if(NOT EXISTS ${MORVIT_HOST_HEADERS}/${dir})
    file(CREATE_LINK /usr/include/${dir} ${MORVIT_HOST_HEADERS}/${dir} SYMBOLIC)
  endif()
endforeach()
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES ${MORVIT_HOST_HEADERS})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${MORVIT_HOST_HEADERS})
set(RAPIDJSON_INCLUDE_DIRS ${MORVIT_HOST_HEADERS})

# GCC 12 for mingw reports overlapping copies inside its own std::string at -O3 (a known false
# positive of -Wrestrict on inlined library code); everything else stays an error.
add_compile_options(-Wno-restrict)
# The Windows headers without their rarely used parts, for every file that includes them.
add_compile_definitions(WIN32_LEAN_AND_MEAN)
if(MORVIT_WIN_ARCH STREQUAL "i686")
  # 32-bit GCC unwinds exceptions through the tables that one unwinder holds for every module
  # of the process: with a static copy in each module, a file exception thrown in the DLL could
  # never reach a catch in its client (the process ends). So the 32-bit build shares GCC's run
  # time DLL (and the thread DLL it needs), copied beside the DLL and installed with it; the
  # C++ library stays static.
  add_link_options(-shared-libgcc -static-libstdc++)
  foreach(dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}")
      find_file(found ${dll} PATHS /usr/${MORVIT_MINGW}/lib NO_DEFAULT_PATH NO_CACHE)
    endif()
    if(NOT EXISTS "${found}")
      message(FATAL_ERROR "${dll} of the 32-bit toolchain not found")
    endif()
    file(COPY ${found} DESTINATION ${PROJECT_BINARY_DIR})
    install(FILES ${found} DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT library)
    unset(found)
  endforeach()
else()
  add_link_options(-static-libgcc -static-libstdc++
                   -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic)
endif()

# GoogleTest from /usr/src/googletest (Debian googletest), built as static libraries.
set(MORVIT_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(MORVIT_BUILD_TESTS AND EXISTS ${MORVIT_GTEST_SOURCE}/CMakeLists.txt)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  add_subdirectory(${MORVIT_GTEST_SOURCE} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  # GoogleTest's own sources are not held to this project's warning switches.
  foreach(target gtest gtest_main)
    target_compile_options(${target} PRIVATE -w)
  endforeach()
  # GoogleTest's own build names its targets GTest::gtest and GTest::gtest_main as well.
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()

# SQLite from the amalgamation that scripts/setup.sh fetched and checked.
set(MORVIT_SQLITE_SOURCE ${PROJECT_SOURCE_DIR}/third_party/sqlite CACHE PATH
    "Directory holding sqlite3.c and sqlite3.h")
if(EXISTS ${MORVIT_SQLITE_SOURCE}/sqlite3.c)
  add_library(morvit_sqlite3 STATIC ${MORVIT_SQLITE_SOURCE}/sqlite3.c)
  target_include_directories(morvit_sqlite3 SYSTEM PUBLIC ${MORVIT_SQLITE_SOURCE})
  target_compile_definitions(morvit_sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION)
  # -O1: the amalgamation is large, and the tool's recording database is not its hot path.
  target_compile_options(morvit_sqlite3 PRIVATE -w -O1)
  add_library(SQLite::SQLite3 ALIAS morvit_sqlite3)
endif()
