#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <array>
#include <optional>
#include <utility>

#include "app/patches_presenter.h"

namespace varnock::qt {

// The columns of the list, in the order of its design.
enum PatchesColumn {
  kPatchColumn,
  kStatusColumn,
  kConflictsColumn,
  kArgumentColumn,
  kDynamicColumn
};

// The rows of the Patches window as Qt's table asks for them: each one read from the presenter
// when it is shown, so that a folder of any size lists at once. The check mark sits in the first
// column; checking or unchecking it is the presenter's MarkToggled.
class PatchesModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // `iconSize`: the side of the status pictures, in pixels.
  PatchesModel(int iconSize, QObject* parent);

  // The presenter the rows come from; it must outlive the model's use.
  void SetPresenter(PatchesPresenter* presenter);
  // Every row is another: the table drops what it showed.
  void ResetRows(std::size_t count);
  // Rows `first` to `last` changed.
  void UpdateRows(std::size_t first, std::size_t last);

  int rowCount(const QModelIndex& parent) const override;
  int columnCount(const QModelIndex& parent) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // Whether `index` is a row both the table and the presenter have.
  bool Shows(const QModelIndex& index) const;
  const PatchRow& Row(int row) const;
  QVariant Display(const PatchRow& row, int column) const;

  PatchesPresenter* presenter_ = nullptr;
  int rows_ = 0;  // the rows the table was last told of
  std::array<QIcon, 6> icons_;
  // The row last asked for: the table asks for each of its columns and roles in turn.
  mutable std::optional<std::pair<int, PatchRow>> lastRow_;
};

}  // namespace varnock::qt
