#include "fuzz/operation_input.h"

#include <algorithm>

namespace varnock::fuzz {

namespace {

// Takes up to `count` bytes from the front of the input.
Bytes Take(const std::uint8_t*& data, std::size_t& size, std::size_t count) {
  count = std::min(count, size);
  Bytes taken(data, data + count);
  data += count;
  size -= count;
  return taken;
}

}  // namespace

OperationInput DecodeOperationInput(const std::uint8_t* data, std::size_t size) {
  OperationInput input;
  const Bytes answerLength = Take(data, size, 1);
  const Bytes answer = Take(data, size, answerLength.empty() ? 0 : answerLength[0]);
  input.answer.assign(answer.begin(), answer.end());
  const Bytes patchLength = Take(data, size, 4);
  std::uint32_t length = 0;
  for (std::size_t i = 0; i < patchLength.size(); ++i) {
    length |= static_cast<std::uint32_t>(patchLength[i]) << (8 * i);
  }
  input.patch = Take(data, size, length);
  input.executable = Take(data, size, size);
  return input;
}

Bytes EncodeOperationInput(const OperationInput& input) {
  Bytes out;
  const std::size_t answerLength = std::min<std::size_t>(input.answer.size(), 255);
  out.push_back(static_cast<std::uint8_t>(answerLength));
  out.insert(out.end(), input.answer.begin(), input.answer.begin() + answerLength);
  const auto patchLength = static_cast<std::uint32_t>(input.patch.size());
  for (std::size_t i = 0; i < 4; ++i) {
    out.push_back(static_cast<std::uint8_t>(patchLength >> (8 * i)));
  }
  out.insert(out.end(), input.patch.begin(), input.patch.end());
  out.insert(out.end(), input.executable.begin(), input.executable.end());
  return out;
}

}  // namespace varnock::fuzz
