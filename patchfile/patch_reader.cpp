#include "patchfile/patch_reader.h"

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "support/code_page.h"
#include "support/files.h"
#include "support/translation.h"

namespace varnock {

namespace {

std::string OpenErrorText() {
  const int code = errno;
  if (code == 0) {
    return Tr("the file cannot be opened");
  }
  return ErrorText(std::error_code(code, std::generic_category()));
}

}  // namespace

PatchReader::PatchReader(const std::string& path) {
  errno = 0;
  in_.open(ToFsPath(path), std::ios::binary);
  if (!in_) {
    Fail(OpenErrorText());
    return;
  }
  // The size in one move to the end and one back (seekg and tellg would make three).
  std::filebuf& file = *in_.rdbuf();
  const std::streamoff size = file.pubseekoff(0, std::ios::end, std::ios::in);
  if (size < 0 || file.pubseekoff(0, std::ios::beg, std::ios::in) != 0) {
    Fail(Tr("the file cannot be read"));
    return;
  }
  remaining_ = size;
}

bool PatchReader::Fail(const std::string& description) {
  if (!failed_) {
    failed_ = true;
    error_ = description;
  }
  return false;
}

bool PatchReader::Holds(std::int64_t count) {
  if (failed_) {
    return false;
  }
  if (count > remaining_) {
    return Fail(Tr(kPatchEndsEarly));
  }
  return true;
}

bool PatchReader::ReadInt32(std::int32_t& value) {
  unsigned char raw[4];
  if (!Holds(4)) {
    return false;
  }
  if (!in_.read(reinterpret_cast<char*>(raw), 4)) {
    return Fail(Tr("the file cannot be read"));
  }
  remaining_ -= 4;
  Summed(raw, 4);
  const std::uint32_t bits = std::uint32_t{raw[0]} | (std::uint32_t{raw[1]} << 8) |
                             (std::uint32_t{raw[2]} << 16) | (std::uint32_t{raw[3]} << 24);
  value = static_cast<std::int32_t>(bits);
  return true;
}

bool PatchReader::ReadBytes(std::int64_t count, Bytes& bytes) {
  if (count < 0) {
    return Fail(Tr("out of range size"));
  }
  if (!Holds(count)) {
    return false;
  }
  bytes.resize(static_cast<std::size_t>(count));
  if (count > 0 && !in_.read(reinterpret_cast<char*>(bytes.data()), count)) {
    return Fail(Tr("the file cannot be read"));
  }
  remaining_ -= count;
  Summed(bytes.data(), count);
  return true;
}

bool PatchReader::ReadInto(std::span<std::uint8_t> room) {
  const auto count = static_cast<std::int64_t>(room.size());
  if (!Holds(count)) {
    return false;
  }
  if (count > 0 && !in_.read(reinterpret_cast<char*>(room.data()), count)) {
    return Fail(Tr("the file cannot be read"));
  }
  remaining_ -= count;
  Summed(room.data(), count);
  return true;
}

void PatchReader::Summed(const void* data, std::int64_t count) {
  if (sum_ != nullptr && count > 0) {
    sum_->Add(static_cast<const std::uint8_t*>(data), static_cast<std::size_t>(count));
  }
}

bool PatchReader::SumRest() {
  std::uint8_t buffer[4096];
  while (!failed_ && remaining_ > 0) {
    const std::int64_t count = std::min<std::int64_t>(remaining_, sizeof buffer);
    if (!ReadInto({buffer, static_cast<std::size_t>(count)})) {
      return false;
    }
  }
  return !failed_;
}

bool ReadPatchString(std::string& destination, PatchReader& reader) {
  destination.clear();
  std::int32_t count = 0;
  if (!reader.ReadInt32(count)) {
    return false;
  }
  if (count == 0) {
    return true;
  }
  if (count < 0) {
    return reader.Fail("");
  }
  Bytes units;
  if (!reader.ReadBytes(std::int64_t{count} * 2, units)) {
    return false;
  }
  // The low bytes are gathered and converted at once, not one short text per character; the
  // characters before a unit that fails stay in `destination`, as a partial load leaves them.
  std::string ansi(units.size() / 2, '\0');
  std::size_t kept = 0;
  while (kept < ansi.size() && units[2 * kept + 1] == 0) {
    ansi[kept] = static_cast<char>(units[2 * kept]);
    ++kept;
  }
  ansi.resize(kept);
  destination = AnsiToUtf8(ansi);
  if (ansi.size() * 2 != units.size()) {
    return reader.Fail("");
  }
  return true;
}

}  // namespace varnock
