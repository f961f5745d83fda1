# The Windows program: the program's sources against the real <windows.h>, linked into PIKON.exe,
# a GUI executable that runs alone (C and C++ runtimes linked in statically). Builds with
# MinGW-w64 (cross from Linux, or on Windows) and with MSVC.
enable_language(RC)

set(rc ${CMAKE_SOURCE_DIR}/resources/pikon.rc)
add_executable(PIKON WIN32 ${PIKON_PROGRAM_SOURCES} ${rc})
target_include_directories(PIKON PRIVATE ${PIKON_PROGRAM_INCLUDES} ${PIKON_GENERATED})
set_source_files_properties(${rc} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_SOURCE_DIR}/resources/pikon.ico;${CMAKE_SOURCE_DIR}/resources/pikon.manifest;${PIKON_GENERATED}/version.h")

# The sources and pikon.rc are saved as UTF-8; the program's narrow strings must be
# Windows-1252, as an ANSI Windows program expects, and windres/rc would otherwise read the .rc
# as Windows-1252.
if(MSVC)
  target_compile_options(PIKON PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:/W4 /source-charset:utf-8 /execution-charset:windows-1252>)
  set_property(TARGET PIKON PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  set_property(SOURCE ${rc} APPEND PROPERTY COMPILE_OPTIONS /c65001)
  # pikon.rc carries the manifest; the linker must not add one of its own.
  target_link_options(PIKON PRIVATE /MANIFEST:NO)
else()
  target_compile_options(PIKON PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP1252>)
  target_link_options(PIKON PRIVATE -static -static-libgcc -static-libstdc++)
  # The statically linked runtime brings its debug sections along; a release leaves them out.
  target_link_options(PIKON PRIVATE $<$<OR:$<CONFIG:Release>,$<CONFIG:MinSizeRel>>:-s>)
  set_property(SOURCE ${rc} APPEND PROPERTY COMPILE_OPTIONS --codepage=65001)
endif()

# The chart's pixel positions are products of fractions and the client size in double precision,
# truncated. On 32-bit x86 GCC would compute them on the x87 unit at extended precision, which
# truncates some of them to the next pixel; SSE2 computes in double, as the 64-bit and native
# builds do (every x86 processor since 2003 has it). MSVC uses SSE2 by default on x86 since
# Visual Studio 2012; it is named here so that no other default can creep in. Windows calls the
# window procedures with a stack aligned to 4 bytes only: -mstackrealign lets a function that
# keeps SSE values on the stack align its own frame.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  if(MSVC)
    target_compile_options(PIKON PRIVATE $<$<COMPILE_LANGUAGE:CXX>:/arch:SSE2 /fp:precise>)
  else()
    target_compile_options(PIKON PRIVATE
      $<$<COMPILE_LANGUAGE:CXX>:-msse2 -mfpmath=sse -mstackrealign>)
  endif()
endif()

# The help file PIKON.HLP, which the program opens by name, is shipped next to PIKON.exe, so
# the build puts it there. Its compiler, hlpc, runs on the build machine: when cross-compiling
# it is built separately with the build machine's own compiler.
if(EXISTS ${CMAKE_SOURCE_DIR}/tools/hlpc/CMakeLists.txt)
  if(CMAKE_CROSSCOMPILING)
    include(ExternalProject)
    ExternalProject_Add(hlpc_host
      SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/hlpc
      BINARY_DIR ${CMAKE_BINARY_DIR}/hlpc-host
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON)
    set(help_source ${CMAKE_SOURCE_DIR}/resources/pikon_help.txt)
    add_custom_command(
      OUTPUT ${CMAKE_BINARY_DIR}/PIKON.HLP ${CMAKE_BINARY_DIR}/PIKON.html
      COMMAND ${CMAKE_BINARY_DIR}/hlpc-host/hlpc ${help_source} ${CMAKE_BINARY_DIR}/PIKON.HLP
              ${CMAKE_BINARY_DIR}/PIKON.html
      DEPENDS hlpc_host ${help_source}
      COMMENT "Compiling the help file PIKON.HLP and its HTML page PIKON.html")
    add_custom_target(pikon_help ALL DEPENDS ${CMAKE_BINARY_DIR}/PIKON.HLP ${CMAKE_BINARY_DIR}/PIKON.html)
  else()
    add_subdirectory(${CMAKE_SOURCE_DIR}/tools/hlpc ${CMAKE_BINARY_DIR}/hlpc)
  endif()
endif()

# The package for Windows users: `cmake --build <dir> --target package` (tools/package.sh) makes
# PIKON-<version>-win32.zip (win64 for the 64-bit twin) holding the program, its help file, the
# help as one HTML page for Windows without a WinHelp viewer, a short German read-me, and for
# Linux the script that gives PIKON.exe under Wine the serial adapter as a COM port.
# LIESMICH.TXT gets Windows line ends; its byte order mark (kept from the source) tells Notepad
# that it is UTF-8. The script keeps its Unix line ends, which bash needs.
configure_file(${CMAKE_SOURCE_DIR}/resources/LIESMICH.TXT.in ${CMAKE_BINARY_DIR}/LIESMICH.TXT
               @ONLY NEWLINE_STYLE CRLF)
install(TARGETS PIKON RUNTIME DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/PIKON.HLP ${CMAKE_BINARY_DIR}/PIKON.html ${CMAKE_BINARY_DIR}/LIESMICH.TXT
        DESTINATION .)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/tools/wine-port.sh DESTINATION .)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME PIKON)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_PACKAGE_FILE_NAME PIKON-${PROJECT_VERSION}-win64)
else()
  set(CPACK_PACKAGE_FILE_NAME PIKON-${PROJECT_VERSION}-win32)
endif()
# Unpacked by Explorer into a folder of the zip's name: no second folder inside.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
