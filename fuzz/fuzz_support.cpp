#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/files.h"
#include "support/paths.h"

namespace varnock::fuzz {

namespace fs = std::filesystem;

void QuietUi::ShowMessage(const std::string& text, MessageIcon icon) {
  ++messages;
  critical += icon == MessageIcon::Critical ? 1 : 0;
  textBytes += text.size();
}

std::optional<std::string> QuietUi::AskText(const std::string& prompt, const std::string& title,
                                            const std::string& proposed) {
  textBytes += prompt.size() + title.size() + proposed.size();
  return answer_;
}

Sandbox& Sandbox::Get() {
  static Sandbox sandbox;
  return sandbox;
}

Sandbox::Sandbox() {
  std::string pattern = FromFsPath(fs::temp_directory_path() / "varnock-fuzz-XXXXXX");
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  Require(::mkdtemp(buffer.data()) != nullptr, "cannot make the fuzzing folder");
  path_ = buffer.data();
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  fs::remove_all(ToFsPath(path_), ignored);
}

std::string Sandbox::File(const std::string& name) const {
  return JoinPath(path_, name);
}

void Sandbox::Clear() const {
  for (const auto& entry : fs::directory_iterator(ToFsPath(path_))) {
    fs::remove_all(entry.path());
  }
}

std::vector<std::string> Contents(const std::string& folder) {
  std::vector<std::string> names;
  const fs::path root = ToFsPath(folder);
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    names.push_back(FromFsPath(entry.path().lexically_relative(root)));
  }
  std::sort(names.begin(), names.end());
  return names;
}

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  out.close();
  Require(!out.fail(), "cannot write the fuzzing input");
}

void WriteInput(const std::string& path, const Bytes& content) {
  WriteInput(path, content.data(), content.size());
}

bool IsUtf8(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || text.size() - i < length) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        return false;
      }
    }
    i += length;
  }
  return true;
}

void Require(bool rule, const char* what) {
  if (!rule) {
    std::fprintf(stderr, "broken rule: %s\n", what);
    std::abort();
  }
}

void Sink(std::size_t value) {
  static volatile std::size_t sink = 0;
  sink = sink + value;
}

void Sink(const std::string& text) {
  Sink(text.size() + (text.empty() ? 0U : static_cast<unsigned char>(text.back())));
}

}  // namespace varnock::fuzz
