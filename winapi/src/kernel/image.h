// The program's module: its handle is where a 32-bit Windows program's image is loaded by
// default, never 0.
#ifndef PIKON_WINAPI_IMAGE_H
#define PIKON_WINAPI_IMAGE_H

#include <cstdint>

namespace winapi {

constexpr std::uintptr_t kImageBase = 0x00400000;

}  // namespace winapi

#endif
