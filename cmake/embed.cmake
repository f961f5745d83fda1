# Writes the bytes of INPUT as the resource blob that winapi's resource loader reads.
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" len)
math(EXPR size "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE ${OUTPUT}
  "#include <cstddef>\n"
  "extern const unsigned char g_winapi_resources[];\n"
  "extern const std::size_t g_winapi_resources_size;\n"
  "const unsigned char g_winapi_resources[] = {${bytes}};\n"
  "const std::size_t g_winapi_resources_size = ${size};\n")
