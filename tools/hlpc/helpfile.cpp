#include "hlpc/helpfile.h"

#include <vector>

#include "hlpc/btree.h"
#include "hlpc/hash.h"
#include "hlpc/topic.h"

namespace hlpc {
namespace {

enum SystemRecord : unsigned { kTitle = 1, kCopyright = 2, kContents = 3, kWindow = 6 };
constexpr unsigned kWindowNameValid = 0x0002;
constexpr unsigned kWindowCaptionValid = 0x0004;

void put_record(Bytes& out, unsigned type, const Bytes& data) {
  put_u16(out, type);
  put_u16(out, static_cast<unsigned>(data.size()));
  put_bytes(out, data);
}

// The main window, so that viewers show the title as the caption as it is.
Bytes main_window(const std::string& caption) {
  Bytes w;
  put_u16(w, kWindowNameValid | kWindowCaptionValid);
  put_fixed(w, "", 10);  // type
  put_fixed(w, "main", 9);
  put_fixed(w, caption, 51);
  for (int i = 0; i < 5; ++i) put_u16(w, 0);  // x, y, width, height, maximize: not given
  put_u32(w, 0);                              // colours: not given
  put_u32(w, 0);
  return w;
}

Bytes system_file(const Document& doc, std::uint32_t contents) {
  Bytes out;
  put_u16(out, kSystemMagic);
  put_u16(out, kVersion31);
  put_u16(out, 1);  // major version
  put_u32(out, 0);  // no build date: the same source always gives the same file
  put_u16(out, kSystemLz77Blocks4k);
  Bytes title;
  put_strz(title, doc.title);
  put_record(out, kTitle, title);
  if (!doc.copyright.empty()) {
    Bytes copyright;
    put_strz(copyright, doc.copyright);
    put_record(out, kCopyright, copyright);
  }
  Bytes start;
  put_u32(start, contents);
  put_record(out, kContents, start);
  put_record(out, kWindow, main_window(doc.title));
  return out;
}

struct FontDescriptor {
  unsigned attributes;  // 1 bold
  unsigned half_points;
  std::uint8_t red, green, blue;
};

// Indexed by FontNumber.
const FontDescriptor kFonts[] = {
    {0, 20, 0, 0, 0},     // body, 10 pt
    {1, 20, 0, 0, 0},     // bold body
    {1, 28, 0, 0, 128},   // topic title, 14 pt
    {1, 22, 0, 0, 128},   // subheading, 11 pt
};

Bytes font_file() {
  constexpr unsigned kFaceField = 20;
  constexpr unsigned kSwiss = 3;
  Bytes out;
  put_u16(out, 1);  // face names
  put_u16(out, sizeof kFonts / sizeof kFonts[0]);
  put_u16(out, 8);  // face names start right after this header
  put_u16(out, 8 + kFaceField);
  put_fixed(out, "Arial", kFaceField);
  for (const FontDescriptor& f : kFonts) {
    put_u8(out, f.attributes);
    put_u8(out, f.half_points);
    put_u8(out, kSwiss);
    put_u16(out, 0);  // face name index
    put_u8(out, f.red);
    put_u8(out, f.green);
    put_u8(out, f.blue);
    put_u8(out, 0xFF);  // background, unused
    put_u8(out, 0xFF);
    put_u8(out, 0xFF);
  }
  return out;
}

Bytes context_file(const Document& doc, const std::vector<std::uint32_t>& offsets) {
  std::vector<BTreeEntry> entries;
  for (std::size_t i = 0; i < doc.topics.size(); ++i) {
    BTreeEntry e;
    put_u32(e.key, static_cast<std::uint32_t>(context_hash(doc.topics[i].context)));
    put_u32(e.value, offsets[i]);
    entries.push_back(std::move(e));
  }
  return build_btree("L4", kBTreeFlags, kTreePageSize, std::move(entries));
}

Bytes title_file(const Document& doc, const std::vector<std::uint32_t>& offsets) {
  std::vector<BTreeEntry> entries;
  for (std::size_t i = 0; i < doc.topics.size(); ++i) {
    BTreeEntry e;
    put_u32(e.key, offsets[i]);
    put_strz(e.value, doc.topics[i].title);
    entries.push_back(std::move(e));
  }
  return build_btree("Lz", kBTreeFlags, kTreePageSize, std::move(entries));
}

}  // namespace

InternalFiles compile_files(const Document& doc) {
  CompiledTopics topics = build_topic_file(doc);
  InternalFiles files;
  files["|SYSTEM"] = system_file(doc, topics.offsets.at(0));
  files["|FONT"] = font_file();
  files["|CONTEXT"] = context_file(doc, topics.offsets);
  files["|TTLBTREE"] = title_file(doc, topics.offsets);
  files["|TOPIC"] = std::move(topics.topic_file);
  return files;
}

Bytes compile(const Document& doc) { return write_container(compile_files(doc)); }

}  // namespace hlpc
