#include "editors/macros/macro_event_model.h"

#include <QColor>
#include <QLineEdit>

#include "editors/macros/macro_control_names.h"
#include "editors/macros/macro_tables.h"
#include "editors/macros/macro_texts.h"
#include "ui/language.h"
#include "ui/notification.h"
#include "ui/number_edit.h"

namespace qxr::editors::macros {
namespace {

constexpr int kDelayDigits = 6;
const QColor kKeyColour(0xE8, 0xE9, 0xEE);
const QColor kMouseColour(0x7F, 0xB8, 0xFF);
const QColor kDownColour(0x5F, 0xD0, 0x8A);
const QColor kUpColour(0xF0, 0xA0, 0x50);

QString text_of(std::string_view key) {
  return ui::Language::instance().text(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size())));
}

QString name_of(const MacroEvent& e) {
  const EventLabel label = event_label(e);
  QString text = label.name.empty() ? QStringLiteral("0x%1").arg(e.button, 2, 16, QLatin1Char('0')) : text_of(label.name);
  if (label.shows_distance) text += QStringLiteral("  %1").arg(e.button);
  return text;
}

}  // namespace

MacroEventModel::MacroEventModel(MacroEventList& rows, QObject* parent) : QAbstractTableModel(parent), rows_(rows) {}

int MacroEventModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int MacroEventModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant MacroEventModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || static_cast<size_t>(index.row()) >= rows_.size()) return {};
  const MacroEvent& e = rows_.rows()[static_cast<size_t>(index.row())];
  switch (index.column()) {
    case kStateColumn:
      if (role == Qt::DisplayRole) return e.down ? QStringLiteral("↓") : QStringLiteral("↑");
      if (role == Qt::ToolTipRole) return text_of(e.down ? texts::kStateDown : texts::kStateUp);
      if (role == Qt::ForegroundRole) return e.down ? kDownColour : kUpColour;
      if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
      break;
    case kNameColumn:
      if (role == Qt::DisplayRole) return name_of(e);
      if (role == Qt::ForegroundRole) return event_label(e).keyboard ? kKeyColour : kMouseColour;
      break;
    case kDelayColumn:
      if (role == Qt::DisplayRole || role == Qt::EditRole) return QString::number(e.delay_ms);
      if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
      break;
    default:
      break;
  }
  return {};
}

QVariant MacroEventModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case kStateColumn:
      return QString();
    case kNameColumn:
      return text_of(texts::kEventColumn);
    case kDelayColumn:
      return text_of(texts::kDelayColumn);
    default:
      return {};
  }
}

Qt::ItemFlags MacroEventModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.column() == kDelayColumn) f |= Qt::ItemIsEditable;
  return f;
}

bool MacroEventModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || index.column() != kDelayColumn) return false;
  bool ok = false;
  const uint value_ms = value.toString().toUInt(&ok);
  const auto delay = static_cast<uint16_t>(ok ? std::min<uint>(value_ms, kMaxMacroDelayMs) : 0);
  if (!rows_.set_delay(static_cast<size_t>(index.row()), delay)) return false;
  emit dataChanged(index, index);
  return true;
}

void MacroEventModel::reset_rows() {
  beginResetModel();
  endResetModel();
}

void MacroEventModel::row_changed(size_t row) {
  emit dataChanged(this->index(static_cast<int>(row), 0), this->index(static_cast<int>(row), kColumnCount - 1));
}

QWidget* MacroDelayDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(names::kDelayEdit.data(), static_cast<qsizetype>(names::kDelayEdit.size())));
  ui::make_number_edit(edit, kDelayDigits);
  edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return edit;
}

void MacroDelayDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  auto* edit = qobject_cast<QLineEdit*>(editor);
  if (edit == nullptr) return;
  ui::commit_number(edit, 0, static_cast<int>(kMaxMacroDelayMs), 0);
  model->setData(index, edit->text(), Qt::EditRole);
  ui::send_notify(edit, ui::notify_type::kKillFocus);
}

}  // namespace qxr::editors::macros
