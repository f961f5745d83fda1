# The Windows program: the program's sources against the real <windows.h>.
enable_language(RC)
add_compile_options(-Wall -Wextra)
add_library(pikon_program STATIC ${PIKON_PROGRAM_SOURCES})
target_include_directories(pikon_program PUBLIC ${PIKON_PROGRAM_INCLUDES})
