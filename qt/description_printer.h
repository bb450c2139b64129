#pragma once

#include <QString>
#include <string>

namespace varnock::qt {

// Prints a text as one document on the default printer, or into a PDF file when one is given
// (which is how the tests read back what was printed).
class DescriptionPrinter {
 public:
  // An empty path prints on the default printer.
  void SetOutputFile(const QString& pdfPath) { outputFile_ = pdfPath; }

  // The text in the font `face` at `points`, followed by a line end, wrapped to the page and
  // spread over as many pages as it needs. False with a description in `error` when there is
  // no printer or the document cannot be printed.
  bool Print(const std::string& text, const std::string& face, int points,
             std::string& error) const;

 private:
  QString outputFile_;
};

}  // namespace varnock::qt
