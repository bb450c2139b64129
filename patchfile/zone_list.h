#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "support/bytes.h"

namespace varnock {

using ByteSpan = std::span<const std::uint8_t>;

// One contiguous run of changed bytes, holding its own bytes: how a zone is made, copied and
// compared on its own.
struct PatchZone {
  std::int32_t Offset = 0;  // 0-based file offset in the target executable
  std::int32_t Length = 0;  // at least 1 in a loaded patch
  Bytes OriginalBytes;      // the unpatched executable's bytes at Offset
  Bytes PatchBytes;         // the patched executable's bytes at Offset

  friend bool operator==(const PatchZone&, const PatchZone&) = default;
};

// A zone as the engine verifies and writes it: its bytes seen where they are held, in a
// PatchZone or in a ZoneList. Valid as long as what it looks at.
struct ZoneView {
  std::int32_t Offset = 0;
  std::int32_t Length = 0;
  ByteSpan OriginalBytes;
  ByteSpan PatchBytes;

  ZoneView() = default;
  ZoneView(std::int32_t offset, std::int32_t length, ByteSpan original, ByteSpan patched)
      : Offset(offset), Length(length), OriginalBytes(original), PatchBytes(patched) {}
  // NOLINTNEXTLINE(google-explicit-constructor): a zone of its own is seen as it stands.
  ZoneView(const PatchZone& zone)
      : ZoneView(zone.Offset, zone.Length, zone.OriginalBytes, zone.PatchBytes) {}
};

// The zones of a patch, held compactly: 16 bytes a zone beside its bytes, which all share one
// block (each zone's Length original bytes, then its Length patched bytes). A patch of
// millions of one-byte zones then takes less memory than twice its file. Reading a zone by
// index gives a copy with bytes of its own; View gives the bytes in place.
class ZoneList {
 public:
  class const_iterator;
  using iterator = const_iterator;
  using value_type = PatchZone;

  ZoneList() = default;
  // NOLINTNEXTLINE(google-explicit-constructor): a list of zones can stand for a ZoneList.
  ZoneList(const std::vector<PatchZone>& zones);
  ZoneList(std::initializer_list<PatchZone> zones);

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  const PatchZone operator[](std::size_t index) const;
  ZoneView View(std::size_t index) const;
  const_iterator begin() const;
  const_iterator end() const;

  // Appends a zone: Length original and Length patched bytes are kept, zeros where its
  // lists are shorter.
  void push_back(const PatchZone& zone);
  // `count` empty zones in place of the list, every byte held before given back first.
  void Reset(std::size_t count);
  // Room for `count` zone bytes, so that filling the zones moves nothing.
  void ReserveBytes(std::size_t count);
  // Gives zone `index` its offset and length, and room for its bytes: Length original bytes,
  // then Length patched bytes.
  std::span<std::uint8_t> Fill(std::size_t index, std::int32_t offset, std::int32_t length);

  void SetOffset(std::size_t index, std::int32_t offset) { entries_[index].offset = offset; }
  std::span<std::uint8_t> PatchBytes(std::size_t index);

  friend bool operator==(const ZoneList& a, const ZoneList& b);

 private:
  struct Entry {
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::size_t first = 0;  // where its bytes begin in bytes_
  };
  std::vector<Entry> entries_;
  Bytes bytes_;
};

class ZoneList::const_iterator {
 public:
  using value_type = PatchZone;
  using difference_type = std::ptrdiff_t;

  const_iterator() = default;
  const_iterator(const ZoneList* list, std::size_t index) : list_(list), index_(index) {}
  const PatchZone operator*() const { return (*list_)[index_]; }
  const_iterator& operator++() {
    ++index_;
    return *this;
  }
  const_iterator operator++(int) {
    const_iterator before = *this;
    ++index_;
    return before;
  }
  friend bool operator==(const const_iterator&, const const_iterator&) = default;

 private:
  const ZoneList* list_ = nullptr;
  std::size_t index_ = 0;
};

}  // namespace varnock
