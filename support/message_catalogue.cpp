#include "support/message_catalogue.h"

#include <cstdint>

#include "support/translation_choice.h"

namespace varnock {

namespace {

constexpr std::uint32_t kMagic = 0x950412deU;
constexpr std::uint32_t kMagicSwapped = 0xde120495U;
constexpr std::size_t kHeaderSize = 28;
constexpr std::size_t kEntrySize = 8;

// The .mo file is read in the byte order its magic number was written in.
class MoImage {
 public:
  MoImage(std::string_view image, bool swapped) : image_(image), swapped_(swapped) {}

  std::uint32_t Word(std::size_t at) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      const auto byte = static_cast<std::uint32_t>(static_cast<unsigned char>(image_[at + i]));
      value |= swapped_ ? byte << (8 * (3 - i)) : byte << (8 * i);
    }
    return value;
  }

  // The string an entry of a table points to; null when it lies outside the image or does not
  // end with the zero byte msgfmt writes after it.
  const char* Text(std::size_t entry) const {
    const std::size_t length = Word(entry);
    const std::size_t offset = Word(entry + 4);
    if (offset > image_.size() || length >= image_.size() - offset ||
        image_[offset + length] != '\0') {
      return nullptr;
    }
    return image_.data() + offset;
  }

 private:
  std::string_view image_;
  bool swapped_;
};

bool TableFits(std::string_view image, std::size_t count, std::size_t offset) {
  return offset <= image.size() && count <= (image.size() - offset) / kEntrySize;
}

}  // namespace

bool MessageCatalogue::Read(std::string_view image, std::string& error) {
  translations_.clear();
  if (image.size() < kHeaderSize) {
    error = "the catalogue is shorter than its header";
    return false;
  }
  const MoImage little(image, false);
  const bool swapped = little.Word(0) == kMagicSwapped;
  if (!swapped && little.Word(0) != kMagic) {
    error = "the catalogue is not a compiled message catalogue";
    return false;
  }
  const MoImage mo(image, swapped);
  if ((mo.Word(4) >> 16) > 1) {
    error = "the catalogue's revision is not known";
    return false;
  }
  const std::size_t count = mo.Word(8);
  const std::size_t originals = mo.Word(12);
  const std::size_t translations = mo.Word(16);
  if (!TableFits(image, count, originals) || !TableFits(image, count, translations)) {
    error = "the catalogue's tables lie outside it";
    return false;
  }
  std::unordered_map<std::string_view, const char*> found;
  for (std::size_t i = 0; i < count; ++i) {
    const char* original = mo.Text(originals + i * kEntrySize);
    const char* translation = mo.Text(translations + i * kEntrySize);
    if (original == nullptr || translation == nullptr) {
      error = "a text of the catalogue lies outside it";
      return false;
    }
    if (*original != '\0' && *translation != '\0') {
      found.emplace(original, translation);
    }
  }
  translations_ = std::move(found);
  return true;
}

const char* MessageCatalogue::Find(const char* text) const {
  const auto found = translations_.find(text);
  return found == translations_.end() ? text : found->second;
}

const MessageCatalogue& ActiveCatalogue() {
  // The language Qt's own texts follow too: one decision for both.
  static const MessageCatalogue active = ChosenCatalogue({ActiveLanguage()});
  return active;
}

}  // namespace varnock
