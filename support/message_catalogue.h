#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace varnock {

// The translations of one language, read from a compiled gettext catalogue (.mo, as msgfmt
// writes it). The catalogue's bytes must outlive it: the program's own are embedded in it.
class MessageCatalogue {
 public:
  MessageCatalogue() = default;

  // Reads a .mo image; false (and the reason) when it is not one, and the catalogue stays empty.
  bool Read(std::string_view image, std::string& error);

  // The translation of text, or text itself when the catalogue has none.
  const char* Find(const char* text) const;

  std::size_t Size() const { return translations_.size(); }

 private:
  std::unordered_map<std::string_view, const char*> translations_;
};

// The catalogue of the language chosen for this process: the first of the user's languages
// that the program carries, read once, on first use; empty (English) when none is.
const MessageCatalogue& ActiveCatalogue();

}  // namespace varnock
