#include "cli/output_file.h"

#include "cli/command.h"
#include "support/new_file_copy.h"
#include "support/safe_rewrite.h"
#include "support/translation.h"

namespace varnock::cli {

// The file is created exclusively, so that a file another program makes under the same name
// meanwhile is never overwritten or deleted; only with `force` is an existing one replaced.
int WriteOutputFile(const std::string& path, const Bytes& content, bool force, ConsoleUi& console) {
  std::string error;
  NewCopy made = WriteNewFile(path, content, error);
  if (made == NewCopy::Taken) {
    if (!force) {
      // TRANSLATORS: %1 is the path of the file to write.
      console.Err() << TrFormat("ERROR: %1 already exists; give --force to replace it",
                                {Printable(path)})
                    << "\n";
      return kExitFailure;
    }
    made = RewriteFile(path, content, error) ? NewCopy::Made : NewCopy::Failed;
  }
  if (made == NewCopy::Failed) {
    // TRANSLATORS: %1 is the path of the file to write, %2 the reason.
    console.Err() << TrFormat("ERROR: cannot write %1\nError mexage: %2",
                              {Printable(path), Printable(error)})
                  << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace varnock::cli
