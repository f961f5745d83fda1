#include "hlpc/container.h"

#include <vector>

#include "hlpc/btree.h"

namespace hlpc {
namespace {

constexpr std::uint8_t kFileFlags = 4;
constexpr std::size_t kHeaderSize = 16;

void put_internal_file(Bytes& out, const Bytes& content) {
  put_u32(out, static_cast<std::uint32_t>(content.size() + kFileHeaderSize));  // reserved
  put_u32(out, static_cast<std::uint32_t>(content.size()));                    // used
  put_u8(out, kFileFlags);
  put_bytes(out, content);
}

// The content of the internal file whose FILEHEADER is at `at`.
ByteView internal_file(const ByteView& whole, std::uint32_t at, const std::string& name) {
  std::uint32_t reserved = whole.u32(at);
  std::uint32_t used = whole.u32(at + 4);
  if (used > reserved || reserved - used < kFileHeaderSize)
    throw FormatError("internal file " + name + ": used size exceeds its reserved space");
  whole.need(at, reserved);
  return whole.sub(at + kFileHeaderSize, used, "internal file " + name);
}

}  // namespace

Bytes write_container(const InternalFiles& files, std::uint16_t directory_page_size) {
  Bytes out(kHeaderSize, 0);
  std::vector<BTreeEntry> directory;
  for (const auto& [name, content] : files) {
    BTreeEntry e;
    put_strz(e.key, name);
    put_u32(e.value, static_cast<std::uint32_t>(out.size()));
    directory.push_back(std::move(e));
    put_internal_file(out, content);
  }
  const auto directory_start = static_cast<std::uint32_t>(out.size());
  put_internal_file(out, build_btree("z4", kBTreeFlags | kBTreeDirectoryFlag, directory_page_size,
                                     std::move(directory)));
  set_u32(out, 0, kHelpMagic);
  set_u32(out, 4, directory_start);
  set_u32(out, 8, 0xFFFFFFFF);  // no free blocks
  set_u32(out, 12, static_cast<std::uint32_t>(out.size()));
  return out;
}

InternalFiles read_container(const Bytes& file) {
  ByteView whole(file, "help file");
  if (whole.u32(0) != kHelpMagic) throw FormatError("not a help file: bad magic");
  if (whole.u32(12) != file.size())
    throw FormatError("help file: header says " + std::to_string(whole.u32(12)) + " bytes, file has " +
                      std::to_string(file.size()));
  BTreeReader directory(internal_file(whole, whole.u32(4), "directory"));
  if (directory.structure() != "z4" || !(directory.flags() & kBTreeDirectoryFlag))
    throw FormatError("help file: directory is not a file name tree");
  InternalFiles files;
  for (const auto& e : directory.entries()) {
    std::string name = ByteView(e.key, "directory key").strz(0);
    ByteView content = internal_file(whole, ByteView(e.value, "directory value").u32(0), name);
    files[name] = Bytes(content.data(), content.data() + content.size());
  }
  return files;
}

}  // namespace hlpc
