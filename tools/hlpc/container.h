// The help file's internal file system.
//
//   offset 0   header: magic 0x00035F3F, offset of the directory, first free block (-1: none),
//              size of the whole file
//   then       the internal files, each behind a 9-byte FILEHEADER (reserved size including
//              the header, used size, flags 4)
//   last       the directory: a FILEHEADER and a B+ tree ("z4", directory flag, 1 KB pages)
//              mapping each file name to the offset of its FILEHEADER
#ifndef HLPC_CONTAINER_H
#define HLPC_CONTAINER_H

#include <cstdint>
#include <map>
#include <string>

#include "hlpc/bytes.h"

namespace hlpc {

constexpr std::uint32_t kHelpMagic = 0x00035F3F;
constexpr std::size_t kFileHeaderSize = 9;
constexpr std::uint16_t kDirectoryPageSize = 0x400;

using InternalFiles = std::map<std::string, Bytes>;

Bytes write_container(const InternalFiles& files, std::uint16_t directory_page_size = kDirectoryPageSize);

// Every internal file by name. Throws FormatError for anything that does not hold together.
InternalFiles read_container(const Bytes& file);

}  // namespace hlpc

#endif
