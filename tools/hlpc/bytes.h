// Little-endian byte buffers: writing the help file's structures and reading them back.
#ifndef HLPC_BYTES_H
#define HLPC_BYTES_H

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hlpc {

using Bytes = std::vector<std::uint8_t>;

// A help file (or one of its parts) that does not hold together.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline void put_u8(Bytes& out, unsigned v) { out.push_back(static_cast<std::uint8_t>(v)); }

inline void put_u16(Bytes& out, unsigned v) {
  put_u8(out, v & 0xFF);
  put_u8(out, (v >> 8) & 0xFF);
}

inline void put_u32(Bytes& out, std::uint32_t v) {
  put_u16(out, v & 0xFFFF);
  put_u16(out, v >> 16);
}

inline void put_bytes(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

inline void put_str(Bytes& out, std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

// A string with its NUL terminator.
inline void put_strz(Bytes& out, std::string_view s) {
  put_str(out, s);
  put_u8(out, 0);
}

// A string in a fixed-size field, NUL padded; it must leave room for one NUL.
inline void put_fixed(Bytes& out, std::string_view s, std::size_t field) {
  if (s.size() >= field) throw std::length_error("text too long for its field: " + std::string(s));
  put_str(out, s);
  out.insert(out.end(), field - s.size(), 0);
}

inline void set_u16(Bytes& out, std::size_t at, unsigned v) {
  out.at(at) = static_cast<std::uint8_t>(v & 0xFF);
  out.at(at + 1) = static_cast<std::uint8_t>((v >> 8) & 0xFF);
}

inline void set_u32(Bytes& out, std::size_t at, std::uint32_t v) {
  set_u16(out, at, v & 0xFFFF);
  set_u16(out, at + 2, v >> 16);
}

// Bounds-checked reading of a byte range; every overrun is a FormatError naming `what`.
class ByteView {
 public:
  ByteView(const std::uint8_t* data, std::size_t size, std::string what)
      : data_(data), size_(size), what_(std::move(what)) {}
  explicit ByteView(const Bytes& b, std::string what = "data")
      : ByteView(b.data(), b.size(), std::move(what)) {}

  std::size_t size() const { return size_; }
  const std::uint8_t* data() const { return data_; }

  void need(std::size_t at, std::size_t n) const {
    if (at > size_ || n > size_ - at)
      throw FormatError(what_ + ": " + std::to_string(n) + " bytes at offset " + std::to_string(at) +
                        " run past its end (" + std::to_string(size_) + " bytes)");
  }
  std::uint8_t u8(std::size_t at) const {
    need(at, 1);
    return data_[at];
  }
  std::uint16_t u16(std::size_t at) const {
    need(at, 2);
    return static_cast<std::uint16_t>(data_[at] | data_[at + 1] << 8);
  }
  std::uint32_t u32(std::size_t at) const {
    need(at, 4);
    return static_cast<std::uint32_t>(u16(at)) | static_cast<std::uint32_t>(u16(at + 2)) << 16;
  }
  std::int16_t i16(std::size_t at) const { return static_cast<std::int16_t>(u16(at)); }
  std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }

  // The NUL-terminated string at `at` (without its NUL); the NUL must lie inside the view.
  std::string strz(std::size_t at) const {
    need(at, 1);
    for (std::size_t i = at; i < size_; ++i)
      if (data_[i] == 0) return std::string(reinterpret_cast<const char*>(data_ + at), i - at);
    throw FormatError(what_ + ": string at offset " + std::to_string(at) + " has no terminator");
  }

  ByteView sub(std::size_t at, std::size_t n, std::string what) const {
    need(at, n);
    return ByteView(data_ + at, n, std::move(what));
  }
  Bytes copy(std::size_t at, std::size_t n) const {
    need(at, n);
    return Bytes(data_ + at, data_ + at + n);
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::string what_;
};

}  // namespace hlpc

#endif
