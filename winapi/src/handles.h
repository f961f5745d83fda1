// Handles as slot + generation. A handle of a freed object never reaches the object that
// later reuses its slot: lookups check kind, slot and generation, and fail otherwise.
#ifndef PIKON_WINAPI_HANDLES_H
#define PIKON_WINAPI_HANDLES_H

#include <cstdint>
#include <memory>
#include <vector>

namespace winapi {

enum class HandleKind : std::uint8_t { Window = 1, Port = 2, Dc = 3, Gdi = 4, Menu = 5, Icon = 6 };

// Layout of a handle value: kind (8 bits) | generation (16 bits) | slot + 1 (16 bits).
// The value stays below 2^40, so it is never a valid user-space pointer and never 0 or -1.
inline std::uintptr_t EncodeHandle(HandleKind kind, std::uint16_t generation, std::size_t slot) {
  return (std::uintptr_t(kind) << 32) | (std::uintptr_t(generation) << 16) |
         std::uintptr_t(slot + 1);
}

template <typename T, HandleKind Kind>
class HandleTable {
 public:
  template <typename H>
  H Add(std::unique_ptr<T> object) {
    std::size_t slot = FreeSlot();
    entries_[slot].object = std::move(object);
    return reinterpret_cast<H>(EncodeHandle(Kind, entries_[slot].generation, slot));
  }

  template <typename H>
  T* Get(H handle) const {
    const Entry* e = Find(reinterpret_cast<std::uintptr_t>(handle));
    return e ? e->object.get() : nullptr;
  }

  template <typename H>
  bool Remove(H handle) {
    Entry* e = const_cast<Entry*>(Find(reinterpret_cast<std::uintptr_t>(handle)));
    if (!e) return false;
    e->object.reset();
    ++e->generation;
    return true;
  }

  std::size_t LiveCount() const {
    std::size_t n = 0;
    for (const Entry& e : entries_) n += e.object ? 1 : 0;
    return n;
  }

  // Every live object, in slot order.
  template <typename F>
  void ForEach(F f) const {
    for (const Entry& e : entries_)
      if (e.object) f(*e.object);
  }

 private:
  struct Entry {
    std::unique_ptr<T> object;
    std::uint16_t generation = 1;
  };

  std::size_t FreeSlot() {
    for (std::size_t i = 0; i < entries_.size(); ++i)
      if (!entries_[i].object) return i;
    entries_.emplace_back();
    return entries_.size() - 1;
  }

  const Entry* Find(std::uintptr_t value) const {
    if ((value >> 32) != std::uintptr_t(Kind)) return nullptr;
    std::size_t slot = (value & 0xffff);
    if (slot == 0 || slot > entries_.size()) return nullptr;
    const Entry& e = entries_[slot - 1];
    if (!e.object || e.generation != std::uint16_t((value >> 16) & 0xffff)) return nullptr;
    return &e;
  }

  std::vector<Entry> entries_;
};

}  // namespace winapi

#endif
