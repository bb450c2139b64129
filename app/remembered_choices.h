#pragma once

namespace varnock {

// The names under which the user's choices are kept between runs.
inline constexpr char kRememberedPatchFolder[] = "PatchFolder";
inline constexpr char kRememberedTarget[] = "Executable";

}  // namespace varnock
