#include "tools/bundle_writer.h"

#include <cstdint>
#include <fstream>
#include <limits>

#include "patchfile/bundle_unpack.h"
#include "support/files.h"

namespace varnock::tools {

namespace {

void AppendInt32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
}

std::uint32_t Int32At(const Bytes& content, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(content[at + i]) << (8 * i);
  }
  return value;
}

bool CheckFiles(const std::vector<BundleFile>& files, std::string& error) {
  for (const BundleFile& file : files) {
    if (!IsPlainFileName(file.name)) {
      error = "unfit name for a bundled file: \"" + file.name + "\"";
      return false;
    }
    if (file.data.empty() || file.data.size() > std::numeric_limits<std::int32_t>::max()) {
      error = "a bundled file must hold 1 byte to 2 GB: " + file.name;
      return false;
    }
  }
  return true;
}

}  // namespace

Bytes BundleBytes(std::size_t bundleOffset, const std::vector<BundleFile>& files,
                  std::string_view tag) {
  Bytes out(std::begin(kBundleMagic), std::end(kBundleMagic));
  std::string fourCharacters(tag.substr(0, 4));
  fourCharacters.resize(4, ' ');
  out.insert(out.end(), fourCharacters.begin(), fourCharacters.end());
  AppendInt32(out, static_cast<std::uint32_t>(files.size()));
  for (const BundleFile& file : files) {
    AppendInt32(out, static_cast<std::uint32_t>(file.data.size()));
    out.insert(out.end(), file.name.begin(), file.name.end());
    out.push_back(0);
    out.insert(out.end(), file.data.begin(), file.data.end());
  }
  AppendInt32(out, static_cast<std::uint32_t>(bundleOffset));
  return out;
}

std::size_t ExistingBundleStart(const Bytes& content) {
  if (content.size() < 4 + kBundleHeaderSize) {
    return content.size();
  }
  const std::size_t start = Int32At(content, content.size() - 4);
  if (start > content.size() - 4 - kBundleHeaderSize) {
    return content.size();
  }
  const Bytes magic(std::begin(kBundleMagic), std::end(kBundleMagic));
  if (!std::equal(magic.begin(), magic.end(), content.begin() + static_cast<long>(start))) {
    return content.size();
  }
  return start;
}

bool AppendBundle(const std::string& path, const std::vector<BundleFile>& files,
                  std::string& error) {
  if (!CheckFiles(files, error)) {
    return false;
  }
  Bytes content;
  if (!ReadWholeFile(path, content, error)) {
    error = "cannot read " + path + ": " + error;
    return false;
  }
  content.resize(ExistingBundleStart(content));
  if (content.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    error = "the executable is too large to carry a bundle: " + path;
    return false;
  }
  const Bytes bundle = BundleBytes(content.size(), files);
  content.insert(content.end(), bundle.begin(), bundle.end());
  std::ofstream out(ToFsPath(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(content.data()),
            static_cast<std::streamsize>(content.size()));
  out.close();
  if (out.fail()) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace varnock::tools
