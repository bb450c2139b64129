#include "cli/json_text.h"

#include <nlohmann/json.hpp>

namespace varnock::cli {

std::string JsonText(const nlohmann::json& value) {
  return value.dump(2, ' ', true, nlohmann::json::error_handler_t::replace);
}

std::string JsonLine(const nlohmann::json& value) {
  return value.dump(-1, ' ', true, nlohmann::json::error_handler_t::replace);
}

}  // namespace varnock::cli
