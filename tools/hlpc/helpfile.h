// A whole WinHelp 3.1 file from a parsed help source.
//
// Internal files written:
//   |SYSTEM    format version 3.1 (LZ77-framed 4 KB topic blocks), title, copyright, contents
//              topic, and the main window's caption
//   |FONT      the four fonts the topic text switches between (see topic.h)
//   |TOPIC     the topics' text (topic.h)
//   |CONTEXT   B+ tree: context-name hash -> TOPICOFFSET, for jumps and viewers' -i option
//   |TTLBTREE  B+ tree: TOPICOFFSET -> topic title, for the viewer's lists of topics
#ifndef HLPC_HELPFILE_H
#define HLPC_HELPFILE_H

#include <cstdint>

#include "hlpc/bytes.h"
#include "hlpc/container.h"
#include "hlpc/source.h"

namespace hlpc {

constexpr std::uint16_t kSystemMagic = 0x036C;
constexpr std::uint16_t kVersion31 = 21;
constexpr std::uint16_t kSystemLz77Blocks4k = 4;
constexpr std::uint16_t kTreePageSize = 0x800;

InternalFiles compile_files(const Document& doc);
Bytes compile(const Document& doc);

}  // namespace hlpc

#endif
