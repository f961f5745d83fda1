// WinHelp B+ trees: the internal directory, |CONTEXT and |TTLBTREE are all stored this way.
//
// A tree is a 38-byte BTREEHEADER followed by fixed-size pages. Leaf pages (8-byte header: free
// bytes, entry count, previous and next leaf) hold the entries in key order and form a doubly
// linked list. Index pages (6-byte header: free bytes, entry count, "previous page") hold
// (first key of a child, child page) pairs; the header's previous page is the child for keys
// below the first pair. The header's 16-byte structure string says how entries are laid out:
// its first character is the key, the rest the value, one character per field:
//   'z' NUL-terminated string, 'L' or '4' a 32-bit little-endian number, '2' a 16-bit one.
// String keys order by bytes (strcmp); number keys as signed 32-bit values.
#ifndef HLPC_BTREE_H
#define HLPC_BTREE_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hlpc/bytes.h"

namespace hlpc {

struct BTreeEntry {
  Bytes key;    // laid out as in the file (a string key includes its NUL)
  Bytes value;
  bool operator==(const BTreeEntry& o) const { return key == o.key && value == o.value; }
};

constexpr std::uint16_t kBTreeMagic = 0x293B;
constexpr std::size_t kBTreeHeaderSize = 38;
constexpr std::uint16_t kBTreeFlags = 0x0002;           // always set
constexpr std::uint16_t kBTreeDirectoryFlag = 0x0400;   // set on the internal directory

// Builds the tree (header and pages) from entries in any order. Throws std::invalid_argument
// for entries that do not match `structure`, duplicate keys, or an entry too big for a page.
Bytes build_btree(const std::string& structure, std::uint16_t flags, std::uint16_t page_size,
                  std::vector<BTreeEntry> entries);

// Reads a tree that starts with its BTREEHEADER. Every malformation is a FormatError.
class BTreeReader {
 public:
  explicit BTreeReader(ByteView tree);

  std::string structure() const { return structure_; }
  std::uint16_t flags() const { return flags_; }
  std::uint16_t page_size() const { return page_size_; }
  int levels() const { return levels_; }
  int root_page() const { return root_; }
  int total_pages() const { return total_pages_; }
  std::uint32_t total_entries() const { return total_entries_; }

  // Every entry, walking down the previous-page links to the first leaf and then along the
  // leaves' next links.
  std::vector<BTreeEntry> entries() const;
  // The value stored under `key`, found by descending the index pages from the root.
  std::optional<Bytes> find(const Bytes& key) const;

 private:
  ByteView page(int number) const;
  std::size_t field_size(char type, const ByteView& page, std::size_t at) const;
  std::size_t value_size(const ByteView& page, std::size_t at) const;

  ByteView tree_;
  std::string structure_;
  std::uint16_t flags_ = 0;
  std::uint16_t page_size_ = 0;
  int levels_ = 0;
  int root_ = 0;
  int total_pages_ = 0;
  std::uint32_t total_entries_ = 0;
};

// Key order of a tree whose key field is `key_type` (see above): negative, zero or positive.
int compare_keys(char key_type, const Bytes& a, const Bytes& b);

}  // namespace hlpc

#endif
