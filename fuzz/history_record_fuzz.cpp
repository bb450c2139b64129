// A history record of any content: read whole or refused whole; one that is read has every
// range inside the original, in rising order and apart, writes itself back to a text read as
// the same record, and is read against any file without a fault.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "history/history_record.h"
#include "history/history_view.h"

using namespace varnock;

namespace {

void CheckRanges(const HistoryRecord& record) {
  for (const HistoryEntry& entry : record.entries) {
    std::uint64_t end = 0;
    for (const RecordedRange& range : entry.ranges) {
      fuzz::Require(range.offset >= end && range.before.size() == range.after.size() &&
                        range.offset + range.before.size() <= record.originalSize,
                    "a range read that is out of place");
      end = range.offset + range.before.size();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  HistoryRecord record;
  if (!DecodeHistory(text, record)) {
    fuzz::Require(record.entries.empty(), "a refused record keeps entries");
    return 0;
  }
  CheckRanges(record);
  HistoryRecord again;
  const std::string written = EncodeHistory(record);
  fuzz::Require(DecodeHistory(written, again) && EncodeHistory(again) == written,
                "a record read does not read back the same once written");
  const HistoryView view = ViewHistory(record, record.originalSha256);
  fuzz::Require(view.states.size() == record.entries.size(), "a view without a state an entry");
  for (const auto& [offset, bytes] : view.originals) {
    fuzz::Require(offset + bytes.size() <= record.originalSize, "an original byte past the end");
  }
  fuzz::Sink(written);
  return 0;
}
