#pragma once

namespace varnock::cli {

// Lets the console show UTF-8 output as it is (Windows); nothing elsewhere.
void UseUtf8Console();

}  // namespace varnock::cli
