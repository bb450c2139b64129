#include "qt/history_dialog.h"

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/history_window_design.h"
#include "qt/accessible_value.h"
#include "qt/design_controls.h"
#include "support/translation.h"

namespace varnock::qt {

void ShowHistoryDialog(const HistoryListing& listing, QWidget* parent) {
  QDialog dialog(parent);
  dialog.setObjectName(QStringLiteral("HistoryWindow"));
  dialog.setWindowTitle(QString::fromStdString(listing.title));
  dialog.setModal(true);
  BuildWindow(&dialog, kHistoryWindowDesign);
  dialog.setFixedSize(dialog.size());
  auto* rows = DesignControl<QListWidget>(&dialog, "List_History");
  rows->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  rows->setAccessibleName(QString::fromUtf8(Tr("Changes, oldest first")));
  for (const std::string& row : listing.rows) {
    rows->addItem(QString::fromStdString(row));
  }
  // The latest change is the one most looked for: it is shown, and current.
  rows->setCurrentRow(rows->count() - 1);
  rows->scrollToBottom();
  auto* state = DesignControl<QLabel>(&dialog, "Label_HistoryState");
  state->setText(QString::fromStdString(listing.state));
  auto* close = DesignControl<QPushButton>(&dialog, "Pul_CloseHistory");
  close->setDefault(true);
  QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
  MarkAccessibleWindow(&dialog);
  rows->setFocus();
  dialog.exec();
}

}  // namespace varnock::qt
