#pragma once

namespace varnock {

// The outcome of an apply or remove. ResultNone is no outcome at all (nothing reported).
enum ResultCode : int {
  ResultNone = 0,
  ResultAlreadyDone = 1,  // the bytes in place already are the new bytes
  ResultFailed = 2,       // the executable was not written
  ResultDone = 3,         // every zone verified and changed, the executable rewritten
};

}  // namespace varnock
