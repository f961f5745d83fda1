#include "hlpc/topic.h"

#include <algorithm>
#include <stdexcept>

#include "hlpc/hash.h"

namespace hlpc {
namespace {

constexpr std::size_t kLinkHeader = 21;
constexpr std::size_t kTopicHeaderSize = 28;
constexpr std::uint8_t kTopicHeaderRecord = 0x02;
constexpr std::uint8_t kParagraphRecord = 0x20;

// Formatting commands in LinkData1.
constexpr std::uint8_t kCmdFont = 0x80;
constexpr std::uint8_t kCmdLineBreak = 0x81;
constexpr std::uint8_t kCmdParagraphEnd = 0x82;
constexpr std::uint8_t kCmdTab = 0x83;
constexpr std::uint8_t kCmdHotspotEnd = 0x89;
constexpr std::uint8_t kCmdJump = 0xE3;
constexpr std::uint8_t kCmdEnd = 0xFF;

// Paragraph-format bits: which of the optional fields follow.
constexpr unsigned kSpaceAbove = 0x0002;
constexpr unsigned kSpaceBelow = 0x0004;
constexpr unsigned kLeftIndent = 0x0010;
constexpr unsigned kFirstLineIndent = 0x0040;
constexpr unsigned kTabStops = 0x0200;

constexpr char kBullet = '\x95';  // Windows-1252

// Compressed numbers of LinkData1. Only the ranges both known readers decode alike are used.
void put_compressed_ushort(Bytes& out, unsigned v) {
  if (v < 0x80) return put_u8(out, v * 2);
  if (v >= 0x8000) throw std::length_error("paragraph too long");
  put_u16(out, v * 2 + 1);
}

void put_compressed_short(Bytes& out, int v) {
  if (v >= -64 && v < 64) return put_u8(out, static_cast<unsigned>(v + 64) * 2);
  if (v < 0 || v >= 0x4000) throw std::length_error("paragraph measure out of range");
  put_u16(out, static_cast<unsigned>(v + 0x4000) * 2 + 1);
}

void put_compressed_long(Bytes& out, std::size_t v) {
  if (v >= 0x4000) throw std::length_error("paragraph too long");
  put_u16(out, static_cast<unsigned>(v + 0x4000) * 2);
}

struct Record {
  std::uint8_t type = 0;
  Bytes data1;
  Bytes data2;
  std::size_t topic = 0;       // index of the topic it belongs to
  std::uint32_t position = 0;  // TOPICPOS
  std::size_t stream_at = 0;   // offset in the concatenated block data
  std::size_t size() const { return kLinkHeader + data1.size() + data2.size(); }
};

struct ParagraphFormat {
  unsigned bits = 0;
  int space_above = 0, space_below = 0, left = 0, first_line = 0, tab = 0;
  unsigned font = kFontBody;
};

ParagraphFormat format_of(Paragraph::Style style, bool title) {
  ParagraphFormat f;
  if (title) {
    f.bits = kSpaceBelow;
    f.space_below = 12;
    f.font = kFontTitle;
  } else if (style == Paragraph::Subheading) {
    f.bits = kSpaceAbove | kSpaceBelow;
    f.space_above = 8;
    f.space_below = 4;
    f.font = kFontSubheading;
  } else if (style == Paragraph::Bullet) {
    // The bullet hangs out to the left; a tab takes the text to the indent.
    f.bits = kSpaceBelow | kLeftIndent | kFirstLineIndent | kTabStops;
    f.space_below = 2;
    f.left = 40;
    f.first_line = -28;
    f.tab = 40;
  } else {
    f.bits = kSpaceAbove | kSpaceBelow;
    f.space_above = 4;
    f.space_below = 6;
  }
  return f;
}

// Text pieces and the commands between them: piece i is followed by command i.
class ParagraphBuilder {
 public:
  explicit ParagraphBuilder(unsigned font) : base_font_(font) { font_change(font); }

  void text(const std::string& t, unsigned font) {
    if (font != font_) font_change(font);
    pieces_.back() += t;
  }
  void command(Bytes cmd) {
    commands_.push_back(std::move(cmd));
    pieces_.emplace_back();
  }
  void run(const Run& r) {
    unsigned font = r.bold ? kFontBold : base_font_;
    if (r.kind == Run::LineBreak) return command({kCmdLineBreak});
    if (r.kind == Run::Text) return text(r.text, font);
    if (font != font_) font_change(font);
    Bytes jump{kCmdJump};
    put_u32(jump, static_cast<std::uint32_t>(context_hash(r.target)));
    command(jump);
    pieces_.back() += r.text;
    command({kCmdHotspotEnd});
  }
  Record finish(const ParagraphFormat& f) {
    command({kCmdParagraphEnd});
    Record rec;
    rec.type = kParagraphRecord;
    for (const std::string& p : pieces_) put_strz(rec.data2, p);
    put_compressed_long(rec.data1, rec.data2.size());     // size of the text
    put_compressed_ushort(rec.data1, static_cast<unsigned>(rec.data2.size()));  // its length in characters
    put_u8(rec.data1, 0);
    put_u8(rec.data1, 0x80);
    put_u16(rec.data1, 0);
    put_u16(rec.data1, f.bits);
    if (f.bits & kSpaceAbove) put_compressed_short(rec.data1, f.space_above);
    if (f.bits & kSpaceBelow) put_compressed_short(rec.data1, f.space_below);
    if (f.bits & kLeftIndent) put_compressed_short(rec.data1, f.left);
    if (f.bits & kFirstLineIndent) put_compressed_short(rec.data1, f.first_line);
    if (f.bits & kTabStops) {
      put_compressed_short(rec.data1, 1);
      put_compressed_ushort(rec.data1, static_cast<unsigned>(f.tab));
    }
    for (const Bytes& c : commands_) put_bytes(rec.data1, c);
    put_u8(rec.data1, kCmdEnd);
    return rec;
  }

 private:
  void font_change(unsigned font) {
    Bytes cmd{kCmdFont};
    put_u16(cmd, font);
    font_ = font;
    command(cmd);
  }

  unsigned base_font_;
  unsigned font_ = 0;
  std::vector<std::string> pieces_{std::string()};
  std::vector<Bytes> commands_;
};

Record paragraph_record(const Paragraph& p) {
  ParagraphFormat f = format_of(p.style, false);
  ParagraphBuilder b(f.font);
  if (p.style == Paragraph::Bullet) {
    b.text(std::string(1, kBullet), f.font);
    b.command({kCmdTab});
  }
  for (const Run& r : p.runs) b.run(r);
  return b.finish(f);
}

Record title_record(const Topic& t) {
  ParagraphFormat f = format_of(Paragraph::Body, true);
  ParagraphBuilder b(f.font);
  b.text(t.title, f.font);
  return b.finish(f);
}

std::uint32_t position_of(std::size_t stream_at) {
  return static_cast<std::uint32_t>((stream_at / kTopicBlockData) * 0x4000 + kTopicBlockHeader +
                                    stream_at % kTopicBlockData);
}

// Places the records one after another; a TOPICLINK header never straddles two blocks.
std::size_t lay_out(std::vector<Record>& records) {
  std::size_t at = 0;
  for (Record& r : records) {
    std::size_t room = kTopicBlockData - at % kTopicBlockData;
    if (room < kLinkHeader) at += room;
    r.stream_at = at;
    r.position = position_of(at);
    at += r.size();
  }
  return at;
}

// TOPICOFFSET of every topic header record (by record index); others get kNoPosition.
std::vector<std::uint32_t> topic_offsets(const std::vector<Record>& records) {
  std::vector<std::uint32_t> out(records.size(), kNoPosition);
  std::size_t block = 0, chars = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::size_t b = records[i].stream_at / kTopicBlockData;
    if (b != block) block = b, chars = 0;
    if (records[i].type == kTopicHeaderRecord) {
      out[i] = static_cast<std::uint32_t>(block * 0x8000 + chars);
    } else {
      chars += records[i].data2.size();
      if (chars >= 0x8000) throw std::length_error("too much text in one topic block");
    }
  }
  return out;
}

void fill_topic_headers(std::vector<Record>& records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].type != kTopicHeaderRecord) continue;
    std::size_t end = i + 1;
    std::uint32_t size = static_cast<std::uint32_t>(records[i].size());
    while (end < records.size() && records[end].type != kTopicHeaderRecord) size += records[end++].size();
    Bytes& h = records[i].data1;
    h.clear();
    put_u32(h, size);
    put_u32(h, kNoPosition);  // no browse sequence: nothing before
    put_u32(h, kNoPosition);  // nor after
    put_u32(h, static_cast<std::uint32_t>(records[i].topic));
    put_u32(h, kNoPosition);  // no non-scrolling region
    put_u32(h, i + 1 < end ? records[i + 1].position : kNoPosition);
    put_u32(h, end < records.size() ? records[end].position : kNoPosition);
  }
}

Bytes record_bytes(const Record& r, std::uint32_t previous, std::uint32_t next) {
  Bytes out;
  put_u32(out, static_cast<std::uint32_t>(r.size()));
  put_u32(out, static_cast<std::uint32_t>(r.data2.size()));
  put_u32(out, previous);
  put_u32(out, next);
  put_u32(out, static_cast<std::uint32_t>(kLinkHeader + r.data1.size()));
  put_u8(out, r.type);
  put_bytes(out, r.data1);
  put_bytes(out, r.data2);
  return out;
}

void put_literals(Bytes& out, const std::uint8_t* data, std::size_t n) {
  for (std::size_t i = 0; i < n; i += 8) {
    put_u8(out, 0);  // eight literal bytes follow (fewer at the very end)
    out.insert(out.end(), data + i, data + std::min(n, i + 8));
  }
}

}  // namespace

CompiledTopics build_topic_file(const Document& doc) {
  std::vector<Record> records;
  for (std::size_t t = 0; t < doc.topics.size(); ++t) {
    Record header;
    header.type = kTopicHeaderRecord;
    header.data1.assign(kTopicHeaderSize, 0);
    put_strz(header.data2, doc.topics[t].title);
    records.push_back(header);
    records.push_back(title_record(doc.topics[t]));
    for (const Paragraph& p : doc.topics[t].paragraphs) {
      try {
        records.push_back(paragraph_record(p));
      } catch (const std::length_error&) {
        throw SourceError(p.line, "paragraph too long for one record");
      }
    }
    for (std::size_t i = records.size() - 2 - doc.topics[t].paragraphs.size(); i < records.size(); ++i)
      records[i].topic = t;
  }
  const std::size_t data_size = lay_out(records);
  fill_topic_headers(records);

  Bytes stream(data_size, 0);
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::uint32_t previous = i == 0 ? kNoPosition : records[i - 1].position;
    std::uint32_t next = i + 1 == records.size() ? kNoPosition : records[i + 1].position;
    Bytes b = record_bytes(records[i], previous, next);
    std::copy(b.begin(), b.end(), stream.begin() + static_cast<std::ptrdiff_t>(records[i].stream_at));
  }

  CompiledTopics out;
  const std::size_t blocks = (data_size + kTopicBlockData - 1) / kTopicBlockData;
  std::uint32_t last_link = kNoPosition, last_header = kNoPosition;
  std::size_t next_record = 0;
  for (std::size_t b = 0; b < blocks; ++b) {
    std::uint32_t first_link = kNoPosition;
    std::uint32_t link_here = last_link, header_here = last_header;
    for (; next_record < records.size() && records[next_record].stream_at / kTopicBlockData == b; ++next_record) {
      if (first_link == kNoPosition) first_link = records[next_record].position;
      link_here = records[next_record].position;
      if (records[next_record].type == kTopicHeaderRecord) header_here = link_here;
    }
    std::size_t start = out.topic_file.size();
    put_u32(out.topic_file, last_link);
    put_u32(out.topic_file, first_link);
    put_u32(out.topic_file, last_header);
    std::size_t from = b * kTopicBlockData;
    put_literals(out.topic_file, stream.data() + from, std::min(kTopicBlockData, data_size - from));
    out.topic_file.resize(start + kTopicBlockSize, 0);
    last_link = link_here;
    last_header = header_here;
  }
  std::vector<std::uint32_t> offsets = topic_offsets(records);
  for (std::size_t i = 0; i < records.size(); ++i)
    if (records[i].type == kTopicHeaderRecord) out.offsets.push_back(offsets[i]);
  return out;
}

}  // namespace hlpc
