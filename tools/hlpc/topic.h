// |TOPIC: the topics' text as a chain of records (TOPICLINKs) laid out in 4 KB topic blocks.
//
// Each topic is a topic header record (type 2: TOPICHEADER, title) followed by one paragraph
// record (type 0x20) per paragraph, the first being the topic's title as a heading. A record
// is a 21-byte TOPICLINK (sizes, previous and next record, type), LinkData1 (paragraph
// format, then formatting commands) and LinkData2 (the NUL-separated text pieces between the
// commands).
//
// Positions:
//   TOPICPOS     where a record starts: block * 0x4000 + 12 + offset in the block's data
//   TOPICOFFSET  where a topic starts for jumps and |CONTEXT: block * 0x8000 + the summed
//                text lengths of the paragraph records that start earlier in the same block
//
// Blocks: a 12-byte TOPICBLOCKHEADER (last record of the blocks before, first record of this
// block, last topic header of the blocks before) and 4084 bytes of data. The data is framed
// as LZ77 with literals only (a zero flag byte before every 8 bytes) and |SYSTEM says so.
// With that framing every reader agrees that a block's data starts at block * 0x4000; a
// reader of uncompressed 3.1 files may instead count blocks of 4084 bytes, so positions
// would be ambiguous from the second block on.
#ifndef HLPC_TOPIC_H
#define HLPC_TOPIC_H

#include <cstdint>
#include <string>
#include <vector>

#include "hlpc/bytes.h"
#include "hlpc/source.h"

namespace hlpc {

constexpr std::size_t kTopicBlockSize = 0x1000;
constexpr std::size_t kTopicBlockHeader = 12;
// Data bytes per block: n bytes take n + ceil(n / 8) bytes in the literal framing.
constexpr std::size_t kTopicBlockData = 3630;
constexpr std::uint32_t kNoPosition = 0xFFFFFFFF;

// Font numbers in |FONT.
enum FontNumber : unsigned { kFontBody = 0, kFontBold = 1, kFontTitle = 2, kFontSubheading = 3 };

struct CompiledTopics {
  Bytes topic_file;                    // |TOPIC content
  std::vector<std::uint32_t> offsets;  // TOPICOFFSET of each topic, in document order
};

CompiledTopics build_topic_file(const Document& doc);

// A topic as a viewer sees it, for checking a compiled file.
struct ReadParagraph {
  std::string text;                  // the text pieces, line breaks as '\n', tabs as '\t'
  std::vector<std::int32_t> jumps;   // context hashes of its jumps, in order
  std::vector<unsigned> fonts;       // font numbers it switches to, in order
};
struct ReadTopic {
  std::uint32_t position = 0;  // TOPICPOS of its header
  std::uint32_t offset = 0;    // TOPICOFFSET
  std::uint32_t number = 0;    // topic number from its header
  std::string title;
  std::vector<ReadParagraph> paragraphs;
};

// Walks |TOPIC (LZ77-framed blocks) from the first record along the next-record links.
std::vector<ReadTopic> read_topic_file(const Bytes& topic_file);

}  // namespace hlpc

#endif
