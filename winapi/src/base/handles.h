// Handles as slot + generation. What a handle table promises:
// - A handle reaches its object until the object is removed; from then on every lookup with it
//   fails (kind, slot and generation are checked), as long as its value has not been handed out
//   again.
// - Values do come back, as on Win32: a slot's generation has 16 bits and wraps. Freed slots are
//   reused in the order they were freed, and only while more than kReserve of them are free
//   (otherwise a new slot is added), so a value comes back only after some 256 x 65,536 = 16.8
//   million objects of its kind were created since it was freed. Win32's window handles carry
//   a 16-bit reuse count and its GDI handles an 8-bit one, so a stale handle reaches a new
//   object here no more easily than there.
#ifndef PIKON_WINAPI_HANDLES_H
#define PIKON_WINAPI_HANDLES_H

#include <cstdint>
#include <deque>
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
    return Release(handle) != nullptr;
  }

  // Ends the handle like Remove, handing its object back rather than destroying it.
  template <typename H>
  std::unique_ptr<T> Release(H handle) {
    Entry* e = const_cast<Entry*>(Find(reinterpret_cast<std::uintptr_t>(handle)));
    if (!e) return nullptr;
    std::unique_ptr<T> object = std::move(e->object);
    ++e->generation;
    free_.push_back(std::size_t(e - entries_.data()));
    return object;
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

  static constexpr std::size_t kReserve = 256;
  static constexpr std::size_t kMaxSlots = 0xffff;  // slot + 1 fills the handle's low 16 bits

  std::size_t FreeSlot() {
    if (free_.size() > kReserve || (entries_.size() >= kMaxSlots && !free_.empty())) {
      std::size_t slot = free_.front();
      free_.pop_front();
      return slot;
    }
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
  std::deque<std::size_t> free_;  // freed slots, the longest free first
};

}  // namespace winapi

#endif
