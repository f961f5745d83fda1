// What the shell asks of the files there are (system.cpp).
#ifndef PIKON_WINAPI_SYSTEM_H
#define PIKON_WINAPI_SYSTEM_H

#include <string>

namespace winapi {

// Whether a file (not a folder) lies at this Windows path, in UTF-8.
bool FileExists(const std::string& utf8Path);

}  // namespace winapi

#endif
