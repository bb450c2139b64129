#include "patchfile/zone_list.h"

#include <algorithm>

namespace varnock {

ZoneList::ZoneList(const std::vector<PatchZone>& zones) {
  for (const PatchZone& zone : zones) {
    push_back(zone);
  }
}

ZoneList::ZoneList(std::initializer_list<PatchZone> zones) {
  for (const PatchZone& zone : zones) {
    push_back(zone);
  }
}

const PatchZone ZoneList::operator[](std::size_t index) const {
  const ZoneView view = View(index);
  return PatchZone{view.Offset, view.Length,
                   Bytes(view.OriginalBytes.begin(), view.OriginalBytes.end()),
                   Bytes(view.PatchBytes.begin(), view.PatchBytes.end())};
}

ZoneView ZoneList::View(std::size_t index) const {
  const Entry& entry = entries_[index];
  const auto length = static_cast<std::size_t>(std::max(entry.length, 0));
  const ByteSpan bytes(bytes_);
  return ZoneView(entry.offset, entry.length, bytes.subspan(entry.first, length),
                  bytes.subspan(entry.first + length, length));
}

ZoneList::const_iterator ZoneList::begin() const {
  return const_iterator(this, 0);
}

ZoneList::const_iterator ZoneList::end() const {
  return const_iterator(this, entries_.size());
}

void ZoneList::push_back(const PatchZone& zone) {
  entries_.push_back(Entry{});
  const std::span<std::uint8_t> room = Fill(entries_.size() - 1, zone.Offset, zone.Length);
  const std::size_t length = room.size() / 2;
  std::copy_n(zone.OriginalBytes.begin(), std::min(length, zone.OriginalBytes.size()),
              room.begin());
  std::copy_n(zone.PatchBytes.begin(), std::min(length, zone.PatchBytes.size()),
              room.begin() + static_cast<std::ptrdiff_t>(length));
}

void ZoneList::Reset(std::size_t count) {
  Bytes().swap(bytes_);
  std::vector<Entry>().swap(entries_);
  entries_.resize(count);
}

void ZoneList::ReserveBytes(std::size_t count) {
  bytes_.reserve(count);
}

std::span<std::uint8_t> ZoneList::Fill(std::size_t index, std::int32_t offset,
                                       std::int32_t length) {
  Entry& entry = entries_[index];
  entry.offset = offset;
  entry.length = length;
  entry.first = bytes_.size();
  const std::size_t room = 2 * static_cast<std::size_t>(std::max(length, 0));
  bytes_.resize(bytes_.size() + room);
  return std::span<std::uint8_t>(bytes_).subspan(entry.first, room);
}

std::span<std::uint8_t> ZoneList::PatchBytes(std::size_t index) {
  const Entry& entry = entries_[index];
  const auto length = static_cast<std::size_t>(std::max(entry.length, 0));
  return std::span<std::uint8_t>(bytes_).subspan(entry.first + length, length);
}

bool operator==(const ZoneList& a, const ZoneList& b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    const ZoneView x = a.View(i);
    const ZoneView y = b.View(i);
    if (x.Offset != y.Offset || x.Length != y.Length ||
        !std::ranges::equal(x.OriginalBytes, y.OriginalBytes) ||
        !std::ranges::equal(x.PatchBytes, y.PatchBytes)) {
      return false;
    }
  }
  return true;
}

}  // namespace varnock
