// PNG files of surfaces (8-bit RGB), for the driver's snapshots.
#ifndef PIKON_WINAPI_PNGFILE_H
#define PIKON_WINAPI_PNGFILE_H

#include <string>

#include "surface.h"

namespace winapi {

// False when the surface is empty or the file cannot be written (no partial file is left).
bool WritePng(const Surface& surface, const std::string& path);

}  // namespace winapi

#endif
