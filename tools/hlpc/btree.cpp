#include "hlpc/btree.h"

#include <algorithm>
#include <stdexcept>

namespace hlpc {
namespace {

constexpr std::size_t kLeafHeader = 8;
constexpr std::size_t kIndexHeader = 6;
constexpr std::uint16_t kNoPage = 0xFFFF;

bool is_string_field(char type) { return type == 'z'; }

std::size_t fixed_size(char type) {
  switch (type) {
    case 'L':
    case '4':
      return 4;
    case '2':
      return 2;
    default:
      throw std::invalid_argument(std::string("unknown B+ tree field type '") + type + "'");
  }
}

// Checks that `field` holds exactly the fields `types` describe.
void check_layout(const std::string& types, const Bytes& field, const char* what) {
  std::size_t at = 0;
  for (char type : types) {
    if (is_string_field(type)) {
      auto nul = std::find(field.begin() + static_cast<std::ptrdiff_t>(at), field.end(), 0);
      if (nul == field.end())
        throw std::invalid_argument(std::string(what) + ": string field without terminator");
      at = static_cast<std::size_t>(nul - field.begin()) + 1;
    } else {
      at += fixed_size(type);
    }
    if (at > field.size()) throw std::invalid_argument(std::string(what) + ": too short for its layout");
  }
  if (at != field.size()) throw std::invalid_argument(std::string(what) + ": longer than its layout");
}

struct Page {
  Bytes body;       // entries only
  Bytes first_key;  // smallest key anywhere below this page
  int entries = 0;
  int previous = kNoPage;  // leaf: previous leaf; index: child for the smallest keys
  int next = kNoPage;      // leaves only
};

struct Child {
  int page;
  Bytes first_key;
};

void emit_page(Bytes& out, const Page& p, bool leaf, std::uint16_t page_size) {
  std::size_t header = leaf ? kLeafHeader : kIndexHeader;
  std::size_t start = out.size();
  put_u16(out, static_cast<unsigned>(page_size - header - p.body.size()));  // free bytes
  put_u16(out, static_cast<unsigned>(p.entries));
  put_u16(out, static_cast<unsigned>(p.previous) & 0xFFFF);
  if (leaf) put_u16(out, static_cast<unsigned>(p.next) & 0xFFFF);
  put_bytes(out, p.body);
  out.resize(start + page_size, 0);
}

std::vector<Page> fill_leaves(const std::vector<BTreeEntry>& entries, std::uint16_t page_size) {
  std::vector<Page> leaves(1);
  for (const auto& e : entries) {
    std::size_t need = e.key.size() + e.value.size();
    if (kLeafHeader + need > page_size)
      throw std::invalid_argument("B+ tree entry of " + std::to_string(need) + " bytes does not fit a page");
    if (kLeafHeader + leaves.back().body.size() + need > page_size) leaves.emplace_back();
    Page& p = leaves.back();
    if (p.entries == 0) p.first_key = e.key;
    put_bytes(p.body, e.key);
    put_bytes(p.body, e.value);
    ++p.entries;
  }
  for (std::size_t i = 0; i < leaves.size(); ++i) {
    leaves[i].previous = i == 0 ? kNoPage : static_cast<int>(i - 1);
    leaves[i].next = i + 1 == leaves.size() ? kNoPage : static_cast<int>(i + 1);
  }
  return leaves;
}

// One level of index pages above `children`; appended to `pages` with their numbers.
std::vector<Child> index_level(const std::vector<Child>& children, std::uint16_t page_size,
                               std::vector<Page>& pages) {
  std::vector<Child> parents;
  Page cur;
  bool open = false;
  auto close = [&] {
    parents.push_back({static_cast<int>(pages.size()), cur.first_key});
    pages.push_back(cur);
    open = false;
  };
  for (const Child& c : children) {
    std::size_t need = c.first_key.size() + 2;
    if (kIndexHeader + need > page_size)
      throw std::invalid_argument("B+ tree key of " + std::to_string(c.first_key.size()) +
                                  " bytes does not fit an index page");
    if (open && kIndexHeader + cur.body.size() + need > page_size) close();
    if (!open) {
      cur = Page{};
      cur.previous = c.page;
      cur.first_key = c.first_key;
      open = true;
      continue;
    }
    put_bytes(cur.body, c.first_key);
    put_u16(cur.body, static_cast<unsigned>(c.page));
    ++cur.entries;
  }
  close();
  return parents;
}

}  // namespace

int compare_keys(char key_type, const Bytes& a, const Bytes& b) {
  if (is_string_field(key_type)) {
    // Both keys end in their NUL, so byte order is strcmp order.
    auto r = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
    if (r) return -1;
    return a == b ? 0 : 1;
  }
  ByteView va(a, "key"), vb(b, "key");
  std::int32_t x = key_type == '2' ? va.i16(0) : va.i32(0);
  std::int32_t y = key_type == '2' ? vb.i16(0) : vb.i32(0);
  return x < y ? -1 : (x > y ? 1 : 0);
}

Bytes build_btree(const std::string& structure, std::uint16_t flags, std::uint16_t page_size,
                  std::vector<BTreeEntry> entries) {
  if (structure.size() < 2 || structure.size() > 15)
    throw std::invalid_argument("B+ tree structure needs a key and a value: " + structure);
  const char key_type = structure[0];
  const std::string value_types = structure.substr(1);
  for (const auto& e : entries) {
    check_layout(std::string(1, key_type), e.key, "B+ tree key");
    check_layout(value_types, e.value, "B+ tree value");
  }
  std::stable_sort(entries.begin(), entries.end(), [&](const BTreeEntry& a, const BTreeEntry& b) {
    return compare_keys(key_type, a.key, b.key) < 0;
  });
  for (std::size_t i = 1; i < entries.size(); ++i)
    if (compare_keys(key_type, entries[i - 1].key, entries[i].key) == 0)
      throw std::invalid_argument("duplicate B+ tree key");

  std::vector<Page> pages = fill_leaves(entries, page_size);
  const std::size_t leaf_count = pages.size();
  std::vector<Child> level;
  for (std::size_t i = 0; i < leaf_count; ++i) level.push_back({static_cast<int>(i), pages[i].first_key});
  int levels = 1;
  while (level.size() > 1) {
    level = index_level(level, page_size, pages);
    ++levels;
  }
  if (pages.size() >= kNoPage) throw std::invalid_argument("B+ tree has too many pages");

  Bytes out;
  put_u16(out, kBTreeMagic);
  put_u16(out, flags);
  put_u16(out, page_size);
  put_fixed(out, structure, 16);
  put_u16(out, 0);                                        // must be zero
  put_u16(out, 0);                                        // page splits
  put_u16(out, static_cast<unsigned>(level.front().page));  // root
  put_u16(out, 0xFFFF);                                   // must be -1
  put_u16(out, static_cast<unsigned>(pages.size()));
  put_u16(out, static_cast<unsigned>(levels));
  put_u32(out, static_cast<std::uint32_t>(entries.size()));
  for (std::size_t i = 0; i < pages.size(); ++i) emit_page(out, pages[i], i < leaf_count, page_size);
  return out;
}

BTreeReader::BTreeReader(ByteView tree) : tree_(tree) {
  if (tree_.u16(0) != kBTreeMagic) throw FormatError("B+ tree: bad magic");
  flags_ = tree_.u16(2);
  page_size_ = tree_.u16(4);
  tree_.need(6, 16);
  const std::uint8_t* s = tree_.data() + 6;
  structure_.assign(s, std::find(s, s + 16, 0));
  root_ = tree_.u16(26);
  total_pages_ = tree_.u16(30);
  levels_ = tree_.i16(32);
  total_entries_ = tree_.u32(34);
  if (structure_.size() < 2) throw FormatError("B+ tree: structure '" + structure_ + "' has no value");
  for (char c : structure_)
    if (!is_string_field(c) && c != 'L' && c != '4' && c != '2')
      throw FormatError("B+ tree: unknown field type in structure '" + structure_ + "'");
  if (page_size_ <= kLeafHeader) throw FormatError("B+ tree: page size too small");
  if (levels_ < 1 || levels_ > total_pages_) throw FormatError("B+ tree: bad level count");
  if (root_ >= total_pages_) throw FormatError("B+ tree: root page out of range");
  tree_.need(kBTreeHeaderSize, static_cast<std::size_t>(total_pages_) * page_size_);
}

ByteView BTreeReader::page(int number) const {
  if (number < 0 || number >= total_pages_)
    throw FormatError("B+ tree: page " + std::to_string(number) + " out of range");
  return tree_.sub(kBTreeHeaderSize + static_cast<std::size_t>(number) * page_size_, page_size_,
                   "B+ tree page " + std::to_string(number));
}

std::size_t BTreeReader::field_size(char type, const ByteView& p, std::size_t at) const {
  if (is_string_field(type)) return p.strz(at).size() + 1;
  std::size_t n = fixed_size(type);
  p.need(at, n);
  return n;
}

std::size_t BTreeReader::value_size(const ByteView& p, std::size_t at) const {
  std::size_t n = 0;
  for (std::size_t i = 1; i < structure_.size(); ++i) n += field_size(structure_[i], p, at + n);
  return n;
}

std::vector<BTreeEntry> BTreeReader::entries() const {
  int number = root_;
  for (int l = 1; l < levels_; ++l) number = page(number).u16(4);
  std::vector<BTreeEntry> out;
  for (int visited = 0; number != kNoPage; ++visited) {
    if (visited == total_pages_) throw FormatError("B+ tree: leaf chain loops");
    ByteView p = page(number);
    std::size_t at = kLeafHeader;
    for (int i = 0; i < p.i16(2); ++i) {
      std::size_t k = field_size(structure_[0], p, at);
      std::size_t v = value_size(p, at + k);
      out.push_back({p.copy(at, k), p.copy(at + k, v)});
      at += k + v;
    }
    number = p.u16(6);
  }
  if (out.size() != total_entries_) throw FormatError("B+ tree: entry count differs from its header");
  return out;
}

std::optional<Bytes> BTreeReader::find(const Bytes& key) const {
  const char key_type = structure_[0];
  int number = root_;
  for (int l = 1; l < levels_; ++l) {
    ByteView p = page(number);
    int child = p.u16(4);
    std::size_t at = kIndexHeader;
    for (int i = 0; i < p.i16(2); ++i) {
      std::size_t k = field_size(key_type, p, at);
      if (compare_keys(key_type, p.copy(at, k), key) > 0) break;
      child = p.u16(at + k);
      at += k + 2;
    }
    number = child;
  }
  ByteView p = page(number);
  std::size_t at = kLeafHeader;
  for (int i = 0; i < p.i16(2); ++i) {
    std::size_t k = field_size(key_type, p, at);
    std::size_t v = value_size(p, at + k);
    int order = compare_keys(key_type, p.copy(at, k), key);
    if (order == 0) return p.copy(at + k, v);
    if (order > 0) break;
    at += k + v;
  }
  return std::nullopt;
}

}  // namespace hlpc
