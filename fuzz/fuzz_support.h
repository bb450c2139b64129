#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "ui/user_interface.h"

namespace varnock::fuzz {

// Counts the messages and answers every question with one fixed answer (none by default).
class QuietUi : public UserInterface {
 public:
  explicit QuietUi(std::optional<std::string> answer = std::nullopt) : answer_(std::move(answer)) {}
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  std::optional<std::string> AskText(const std::string& prompt, const std::string& title,
                                     const std::string& proposed) override;

  int messages = 0;
  int critical = 0;
  std::size_t textBytes = 0;

 private:
  std::optional<std::string> answer_;
};

// A private folder for one fuzzing process, made on first use and removed with everything in
// it when the process ends normally.
class Sandbox {
 public:
  static Sandbox& Get();
  const std::string& path() const { return path_; }
  // path() + separator + name.
  std::string File(const std::string& name) const;
  // Removes everything inside the folder, keeping the folder itself.
  void Clear() const;
  ~Sandbox();

 private:
  Sandbox();
  std::string path_;
};

// Every path inside `folder`, at any depth, relative to it, sorted.
std::vector<std::string> Contents(const std::string& folder);

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size);
void WriteInput(const std::string& path, const Bytes& content);

// True when `text` is well-formed UTF-8.
bool IsUtf8(const std::string& text);

// A broken rule is a finding: the process stops with `what` so that libFuzzer keeps the input.
void Require(bool rule, const char* what);

// Keeps a value alive for the optimiser: the code that computed it cannot be dropped.
void Sink(std::size_t value);
void Sink(const std::string& text);

}  // namespace varnock::fuzz
