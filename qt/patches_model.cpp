#include "qt/patches_model.h"

#include "app/patches_window_design.h"
#include "qt/status_icon.h"
#include "support/translation.h"

namespace varnock::qt {

namespace {

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PatchesModel::PatchesModel(int iconSize, QObject* parent) : QAbstractTableModel(parent) {
  for (std::size_t group = 0; group < icons_.size(); ++group) {
    icons_[group] = StatusIcon(static_cast<StatusGroup>(group), iconSize);
  }
}

void PatchesModel::SetPresenter(PatchesPresenter* presenter) {
  beginResetModel();
  presenter_ = presenter;
  rows_ = presenter == nullptr ? 0 : static_cast<int>(presenter->VisibleCount());
  lastRow_.reset();
  endResetModel();
}

// The presenter has changed its rows already: the count the table knows changes only between
// the two signals of the reset, as the table expects.
void PatchesModel::ResetRows(std::size_t count) {
  beginResetModel();
  rows_ = static_cast<int>(count);
  lastRow_.reset();
  endResetModel();
}

bool PatchesModel::Shows(const QModelIndex& index) const {
  return index.isValid() && index.row() < rows_ && presenter_ != nullptr &&
         static_cast<std::size_t>(index.row()) < presenter_->VisibleCount();
}

void PatchesModel::UpdateRows(std::size_t first, std::size_t last) {
  lastRow_.reset();
  const int rows = rowCount({});
  if (rows == 0 || first >= static_cast<std::size_t>(rows)) {
    return;
  }
  last = std::min(last, static_cast<std::size_t>(rows - 1));
  emit dataChanged(index(static_cast<int>(first), 0),
                   index(static_cast<int>(last), columnCount({}) - 1));
}

int PatchesModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int PatchesModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kPatchesColumns.size());
}

const PatchRow& PatchesModel::Row(int row) const {
  if (!lastRow_ || lastRow_->first != row) {
    lastRow_.emplace(row, presenter_->RowAt(static_cast<std::size_t>(row)));
  }
  return lastRow_->second;
}

QVariant PatchesModel::Display(const PatchRow& row, int column) const {
  switch (column) {
    case kPatchColumn:
      return Text(row.fileName);
    case kStatusColumn:
      return Text(row.status);
    case kConflictsColumn:
      return Text(row.conflicts);
    case kArgumentColumn:
      return Text(row.argument);
    case kDynamicColumn:
      return row.dynamic ? QString::fromUtf8(Tr("Dynamic")) : QString();
    default:
      return {};
  }
}

QVariant PatchesModel::data(const QModelIndex& index, int role) const {
  if (!Shows(index)) {
    return {};
  }
  const PatchRow& row = Row(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return Display(row, index.column());
    case Qt::ToolTipRole:
      return index.column() == kConflictsColumn ? Display(row, index.column()) : QVariant();
    case Qt::CheckStateRole:
      return index.column() == kPatchColumn ? QVariant(row.checked ? Qt::Checked : Qt::Unchecked)
                                            : QVariant();
    // Qt's table cells do not tell assistive technology their check state: the mark is read
    // out as the cell's description.
    case Qt::AccessibleDescriptionRole:
      return index.column() == kPatchColumn
                 ? QVariant(QString::fromUtf8(row.checked ? Tr("checked") : Tr("not checked")))
                 : QVariant();
    case Qt::DecorationRole:
      return index.column() == kStatusColumn ? QVariant(icons_[static_cast<std::size_t>(row.group)])
                                             : QVariant();
    default:
      return {};
  }
}

bool PatchesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || index.column() != kPatchColumn || !Shows(index)) {
    return false;
  }
  const bool checked = value.toInt() == Qt::Checked;
  if (checked != Row(index.row()).checked) {
    presenter_->MarkToggled(static_cast<std::size_t>(index.row()));
    UpdateRows(static_cast<std::size_t>(index.row()), static_cast<std::size_t>(index.row()));
  }
  return true;
}

Qt::ItemFlags PatchesModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) {
    return Qt::NoItemFlags;
  }
  const Qt::ItemFlags shown = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  return index.column() == kPatchColumn ? shown | Qt::ItemIsUserCheckable : shown;
}

QVariant PatchesModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= columnCount({})) {
    return {};
  }
  return Text(Tr(kPatchesColumns[static_cast<std::size_t>(section)].caption.data()));
}

}  // namespace varnock::qt
