#include "qt/description_printer.h"

#include <QFont>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

#include "qt/qt_user_interface.h"
#include "support/translation.h"

namespace varnock::qt {

namespace {

constexpr const char* kDocumentName = "Varnock - patch description";

}  // namespace

bool DescriptionPrinter::Print(const std::string& text, const std::string& face, int points,
                               std::string& error) const {
  QPrinter printer(QPrinter::HighResolution);
  if (outputFile_.isEmpty()) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
      error = Tr("No default printer is installed.");
      return false;
    }
    printer.setPrinterName(defaultPrinter.printerName());
  } else {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(outputFile_);
  }
  printer.setDocName(QString::fromLatin1(kDocumentName));
  if (!printer.isValid()) {
    error = Tr("The printer cannot be used.");
    return false;
  }

  QFont font(QString::fromStdString(face), points);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  QTextDocument document;
  document.setDefaultFont(font);
  document.setPlainText(ToDisplayText(text) + QLatin1Char('\n'));
  document.print(&printer);
  if (printer.printerState() == QPrinter::Error) {
    error = Tr("The printer did not accept the document.");
    return false;
  }
  return true;
}

}  // namespace varnock::qt
