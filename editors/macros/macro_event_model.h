#pragma once
// The event rows as the panel's table shows them: whether the row presses or releases, the
// input's name (a move with its distance) and the delay after it, the only column the user
// edits in place. The list stays the panel's; the model only reads it and reports changes.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <functional>

#include "editors/macros/macro_events.h"

namespace qxr::editors::macros {

class MacroEventModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { kStateColumn, kNameColumn, kDelayColumn, kColumnCount };

  explicit MacroEventModel(MacroEventList& rows, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The list changed as a whole (loaded, rows moved, inserted or removed).
  void reset_rows();
  // Row i changed in place.
  void row_changed(size_t row);

 private:
  MacroEventList& rows_;
};

// The delay editor: digits only, 0-65535, named as the skin names it. After committing it
// reports "killfocus", as an edit leaving the focus does.
class MacroDelayDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
};

}  // namespace qxr::editors::macros
