#include "engine/float_to_bits.h"

#include <bit>
#include <string>

#include "engine/number_text.h"
#include "engine/single_from_text.h"
#include "support/platform.h"
#include "support/translation.h"

namespace varnock {

std::optional<std::int32_t> FloatToBits(const std::string& text, UserInterface& ui) {
  std::string error = Tr("not a number in the user's number format");
  const auto number = ParseNumberText(text, LocaleDecimalSeparator());
  const auto single = number ? SingleFromText(*number, error) : std::nullopt;
  if (!single) {
    ui.ShowMessage(
        // TRANSLATORS: %1 is the text given as a number, %2 the reason.
        TrFormat("Error trying to convert '%1' in floating point value: %2", {text, error}),
        MessageIcon::Critical);
    return std::nullopt;
  }
  return std::bit_cast<std::int32_t>(*single);
}

}  // namespace varnock
