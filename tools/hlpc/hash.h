// Context names reach topics through a 32-bit hash (|CONTEXT and every jump store only it).
#ifndef HLPC_HASH_H
#define HLPC_HASH_H

#include <cstdint>
#include <string_view>

namespace hlpc {

// Letters count regardless of case (A and a are 17 ... Z and z 42), digits 1-9 as themselves,
// 0 as 10, '.' as 12 and '_' as 13: hash = hash * 43 + value, wrapping at 32 bits.
inline std::int32_t context_hash(std::string_view name) {
  std::uint32_t hash = 0;
  for (char c : name) {
    std::uint32_t value = 0;
    if (c >= 'A' && c <= 'Z') value = static_cast<std::uint32_t>(c - 'A') + 17;
    if (c >= 'a' && c <= 'z') value = static_cast<std::uint32_t>(c - 'a') + 17;
    if (c >= '1' && c <= '9') value = static_cast<std::uint32_t>(c - '0');
    if (c == '0') value = 10;
    if (c == '.') value = 12;
    if (c == '_') value = 13;
    hash = hash * 43 + value;
  }
  return static_cast<std::int32_t>(hash);
}

inline bool is_context_char(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_';
}

}  // namespace hlpc

#endif
