// Reading |TOPIC back the way a viewer walks it.
#include <algorithm>

#include "hlpc/topic.h"

namespace hlpc {
namespace {

constexpr std::size_t kLinkHeader = 21;
constexpr std::size_t kBlockSpan = 0x4000;  // decoded bytes a block may hold

// One block's LZ77 data: a flag byte, then per flag bit a literal byte (bit clear) or a
// 16-bit back-reference (bit set: 3 + high 4 bits bytes from 1 + low 12 bits back).
Bytes decode_block(ByteView in) {
  Bytes out;
  std::size_t at = 0;
  while (at < in.size()) {
    unsigned flags = in.u8(at++);
    for (int bit = 0; bit < 8 && at < in.size(); ++bit, flags >>= 1) {
      if (flags & 1) {
        unsigned code = in.u16(at);
        at += 2;
        std::size_t back = (code & 0xFFF) + 1, len = (code >> 12) + 3;
        if (back > out.size()) throw FormatError("|TOPIC: back-reference before the block's start");
        for (std::size_t k = 0; k < len; ++k) out.push_back(out[out.size() - back]);
      } else {
        out.push_back(in.u8(at++));
      }
    }
    if (out.size() > kBlockSpan) throw FormatError("|TOPIC: a block decodes to more than 16 KB");
  }
  return out;
}

unsigned compressed_ushort(const ByteView& v, std::size_t& at) {
  unsigned b = v.u8(at);
  if (b & 1) {
    unsigned w = v.u16(at);
    at += 2;
    return w / 2;
  }
  ++at;
  return b / 2;
}

int compressed_short(const ByteView& v, std::size_t& at) {
  unsigned b = v.u8(at);
  if (b & 1) {
    unsigned w = v.u16(at);
    at += 2;
    return static_cast<int>(w >> 1) - 0x4000;
  }
  ++at;
  return static_cast<int>(b >> 1) - 0x40;
}

long compressed_long(const ByteView& v, std::size_t& at) {
  unsigned w = v.u16(at);
  if (w & 1) {
    std::uint32_t d = v.u32(at);
    at += 4;
    return static_cast<long>(d >> 1) - 0x40000000L;
  }
  at += 2;
  return static_cast<long>(w >> 1) - 0x4000;
}

// Skips the paragraph format; returns the offset of the first formatting command.
std::size_t skip_paragraph_format(const ByteView& d1, unsigned& text_length) {
  std::size_t at = 0;
  compressed_long(d1, at);  // text size
  text_length = compressed_ushort(d1, at);
  at += 4;  // two unknown bytes and the paragraph id
  unsigned bits = d1.u16(at);
  at += 2;
  if (bits & 0x0001) compressed_long(d1, at);
  for (unsigned bit = 0x0002; bit <= 0x0040; bit <<= 1)
    if (bits & bit) compressed_short(d1, at);
  if (bits & 0x0100) at += 3;  // border flags and width
  if (bits & 0x0200) {
    int tabs = compressed_short(d1, at);
    for (int i = 0; i < tabs; ++i)
      if (compressed_ushort(d1, at) & 0x4000) compressed_ushort(d1, at);
  }
  return at;
}

ReadParagraph read_paragraph(const ByteView& d1, const ByteView& d2, unsigned& text_length) {
  ReadParagraph p;
  std::size_t cmd = skip_paragraph_format(d1, text_length);
  std::size_t text = 0;
  for (;;) {
    std::string piece = d2.strz(text);
    text += piece.size() + 1;
    p.text += piece;
    unsigned c = d1.u8(cmd++);
    switch (c) {
      case 0xFF:
        if (text != d2.size()) throw FormatError("|TOPIC: text left over after a paragraph's end");
        return p;
      case 0x80:
        p.fonts.push_back(d1.u16(cmd));
        cmd += 2;
        break;
      case 0x81:
        p.text += '\n';
        break;
      case 0x83:
        p.text += '\t';
        break;
      case 0x82:  // paragraph end
      case 0x89:  // hotspot end
        break;
      case 0xE2:
      case 0xE3:
      case 0xE6:
      case 0xE7:
        p.jumps.push_back(d1.i32(cmd));
        cmd += 4;
        break;
      default:
        throw FormatError("|TOPIC: unknown formatting command " + std::to_string(c));
    }
  }
}

}  // namespace

std::vector<ReadTopic> read_topic_file(const Bytes& topic_file) {
  ByteView file(topic_file, "|TOPIC");
  std::vector<Bytes> blocks;
  for (std::size_t at = 0; at < topic_file.size(); at += kTopicBlockSize) {
    std::size_t end = std::min(topic_file.size(), at + kTopicBlockSize);
    file.need(at, kTopicBlockHeader);
    blocks.push_back(decode_block(file.sub(at + kTopicBlockHeader, end - at - kTopicBlockHeader, "|TOPIC block")));
  }
  // The blocks' data, one after another: a record may run on into the next block.
  Bytes data;
  for (const Bytes& b : blocks) put_bytes(data, b);
  ByteView all(data, "|TOPIC data");
  auto locate = [&](std::uint32_t pos) {
    std::size_t block = (pos - kTopicBlockHeader) / kBlockSpan, off = (pos - kTopicBlockHeader) % kBlockSpan;
    if (pos < kTopicBlockHeader || block >= blocks.size() || off >= blocks[block].size())
      throw FormatError("|TOPIC: record position " + std::to_string(pos) + " lies outside the data");
    std::size_t at = off;
    for (std::size_t b = 0; b < block; ++b) at += blocks[b].size();
    return std::pair<std::size_t, std::size_t>(block, at);
  };

  std::vector<ReadTopic> topics;
  std::uint32_t pos = file.u32(4), previous = kNoPosition;
  std::size_t block_of_counted = 0, chars = 0;
  for (std::size_t count = 0; pos != kNoPosition; ++count) {
    if (count > data.size() / kLinkHeader) throw FormatError("|TOPIC: record chain loops");
    auto [block, at] = locate(pos);
    std::uint32_t size = all.u32(at), len2 = all.u32(at + 4), len1 = all.u32(at + 16);
    if (all.u32(at + 8) != previous) throw FormatError("|TOPIC: record at " + std::to_string(pos) + " names the wrong predecessor");
    if (len1 < kLinkHeader || len1 > size || size - len1 != len2)
      throw FormatError("|TOPIC: record at " + std::to_string(pos) + " has inconsistent sizes");
    ByteView d1 = all.sub(at + kLinkHeader, len1 - kLinkHeader, "LinkData1");
    ByteView d2 = all.sub(at + len1, len2, "LinkData2");
    if (block != block_of_counted) block_of_counted = block, chars = 0;
    switch (all.u8(at + 20)) {
      case 0x02:
        topics.push_back({pos, static_cast<std::uint32_t>(block * 0x8000 + chars), d1.u32(12), d2.strz(0), {}});
        break;
      case 0x20: {
        if (topics.empty()) throw FormatError("|TOPIC: paragraph before the first topic header");
        unsigned length = 0;
        topics.back().paragraphs.push_back(read_paragraph(d1, d2, length));
        chars += length;
        break;
      }
      default:
        throw FormatError("|TOPIC: unknown record type " + std::to_string(all.u8(at + 20)));
    }
    previous = pos;
    pos = all.u32(at + 12);
  }
  return topics;
}

}  // namespace hlpc
