# The Windows program: the program's sources against the real <windows.h>, linked into PIKON.exe,
# a GUI executable that runs alone (C and C++ runtimes linked in statically). Builds with
# MinGW-w64 (cross from Linux, or on Windows) and with MSVC.
enable_language(RC)

set(rc ${CMAKE_SOURCE_DIR}/resources/pikon.rc)
add_executable(PIKON WIN32 ${PIKON_PROGRAM_SOURCES} ${rc})
target_include_directories(PIKON PRIVATE ${PIKON_PROGRAM_INCLUDES})
set_source_files_properties(${rc} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_SOURCE_DIR}/resources/pikon.ico")

# The sources and pikon.rc are saved as UTF-8; the program's narrow strings must be
# Windows-1252, as an ANSI Windows program expects, and windres/rc would otherwise read the .rc
# as Windows-1252.
if(MSVC)
  target_compile_options(PIKON PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:/W4 /source-charset:utf-8 /execution-charset:windows-1252>)
  set_property(TARGET PIKON PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  set_property(SOURCE ${rc} APPEND PROPERTY COMPILE_OPTIONS /c65001)
else()
  target_compile_options(PIKON PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP1252>)
  target_link_options(PIKON PRIVATE -static -static-libgcc -static-libstdc++)
  set_property(SOURCE ${rc} APPEND PROPERTY COMPILE_OPTIONS --codepage=65001)
endif()
