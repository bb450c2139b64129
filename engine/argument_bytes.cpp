#include "engine/argument_bytes.h"

#include "engine/float_to_bits.h"
#include "engine/number_text.h"
#include "engine/number_to_bytes.h"
#include "support/code_page.h"
#include "support/platform.h"
#include "support/translation.h"

namespace varnock {

namespace {

bool Fail(ArgumentFailure& failure, std::string description) {
  failure.general = true;
  failure.description = std::move(description);
  return false;
}

// The first ArgMaxLength characters as ANSI bytes (one per character), plus a zero byte for
// TextStringZ.
bool TextBytes(const std::string& argument, const PatchRecord& record, Bytes& bytes,
               ArgumentFailure& failure) {
  if (record.ArgMaxLength < 0) {
    return Fail(failure, TrFormat("the maximum length of the text argument is negative (%1)",
                                  {std::to_string(record.ArgMaxLength)}));
  }
  std::string kept = Utf8ToAnsi(argument).substr(0, static_cast<std::size_t>(record.ArgMaxLength));
  if (record.ArgType == TextStringZ) {
    kept += '\0';
  }
  bytes.assign(kept.begin(), kept.end());
  return true;
}

bool IntegerBytes(const std::string& argument, std::int32_t n, Bytes& bytes, UserInterface& ui,
                  ArgumentFailure& failure) {
  const auto number = ParseNumberText(argument, '.');
  if (!number) {
    // TRANSLATORS: %1 is the argument value given.
    ui.ShowMessage(TrFormat("ERROR: current patch requires a numeric argument but the argument "
                            "'%1' is not numeric",
                            {argument}),
                   MessageIcon::Critical);
    return false;
  }
  const auto value = RoundToInt32(*number);
  if (!value) {
    return Fail(failure,
                TrFormat("the argument '%1' is out of the range of a 32-bit integer", {argument}));
  }
  return NumberToBytes(bytes, *value, n, ui);
}

bool FloatBytes(const std::string& argument, Bytes& bytes, UserInterface& ui) {
  if (!ParseNumberText(argument, LocaleDecimalSeparator())) {
    // TRANSLATORS: %1 is the argument value given.
    ui.ShowMessage(TrFormat("ERROR: current patch requires a numeric (float) argument but the "
                            "argument '%1' is not numeric",
                            {argument}),
                   MessageIcon::Critical);
    return false;
  }
  const auto bits = FloatToBits(argument, ui);
  return bits && NumberToBytes(bytes, *bits, 4, ui);
}

}  // namespace

bool ArgumentBytes(const std::string& patchPath, const std::string& argument,
                   const PatchRecord& record, Bytes& bytes, UserInterface& ui,
                   ArgumentFailure& failure) {
  bytes.clear();
  switch (record.ArgType) {
    case TextString:
    case TextStringZ:
      if (!TextBytes(argument, record, bytes, failure)) {
        return false;
      }
      break;
    case NumByte:
      return IntegerBytes(argument, 1, bytes, ui, failure);
    case NumWord:
      return IntegerBytes(argument, 2, bytes, ui, failure);
    case NumLong:
      return IntegerBytes(argument, 4, bytes, ui, failure);
    case NumFloat:
      return FloatBytes(argument, bytes, ui);
    default:
      break;
  }
  if (bytes.empty()) {
    // TRANSLATORS: %1 is the patch file's path.
    ui.ShowMessage(TrFormatCrLf("Error trying to applicate patch: %1\nMissing Argument type or "
                                "argument text in current patch",
                                {patchPath}),
                   MessageIcon::Critical);
    return false;
  }
  return true;
}

}  // namespace varnock
