# The Windows program: the program's sources against the real <windows.h>, linked into PIKON.exe,
# a GUI executable that runs alone (C and C++ runtimes linked in statically).
enable_language(RC)

add_executable(PIKON WIN32 ${PIKON_PROGRAM_SOURCES} ${CMAKE_SOURCE_DIR}/resources/pikon.rc)
target_include_directories(PIKON PRIVATE ${PIKON_PROGRAM_INCLUDES})
target_compile_options(PIKON PRIVATE
  # The program's narrow strings are Windows-1252, as an ANSI Windows program expects.
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -finput-charset=UTF-8 -fexec-charset=CP1252>)
target_link_options(PIKON PRIVATE -static -static-libgcc -static-libstdc++)
# pikon.rc is saved as UTF-8; without the code page windres would read it as Windows-1252.
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/pikon.rc PROPERTIES
  COMPILE_OPTIONS --codepage=65001
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/resource.h;${CMAKE_SOURCE_DIR}/resources/pikon.ico")
