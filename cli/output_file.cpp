#include "cli/output_file.h"

#include "cli/command.h"
#include "support/new_file_copy.h"
#include "support/safe_rewrite.h"

namespace varnock::cli {

// The file is created exclusively, so that a file another program makes under the same name
// meanwhile is never overwritten or deleted; only with `force` is an existing one replaced.
int WriteOutputFile(const std::string& path, const Bytes& content, bool force, ConsoleUi& console) {
  std::string error;
  NewCopy made = WriteNewFile(path, content, error);
  if (made == NewCopy::Taken) {
    if (!force) {
      console.Err() << "ERROR: " << Printable(path)
                    << " already exists; give --force to replace it\n";
      return kExitFailure;
    }
    made = RewriteFile(path, content, error) ? NewCopy::Made : NewCopy::Failed;
  }
  if (made == NewCopy::Failed) {
    console.Err() << "ERROR: cannot write " << Printable(path)
                  << "\nError mexage: " << Printable(error) << "\n";
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace varnock::cli
