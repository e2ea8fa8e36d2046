#include "ui/number_edit.h"

#include <QRegularExpressionValidator>

#include <algorithm>

namespace qxr::ui {

void make_number_edit(QLineEdit* edit, int max_length) {
  if (edit == nullptr) return;
  static const QRegularExpression digits(QStringLiteral("[0-9]*"));
  edit->setValidator(new QRegularExpressionValidator(digits, edit));
  edit->setMaxLength(max_length);
}

int commit_number(QLineEdit* edit, int minimum, int maximum, int fallback) {
  if (edit == nullptr) return std::clamp(fallback, minimum, maximum);
  bool ok = false;
  const qlonglong typed = edit->text().trimmed().toLongLong(&ok);
  const qlonglong value = ok ? std::clamp<qlonglong>(typed, minimum, maximum) : std::clamp(fallback, minimum, maximum);
  const QString shown = QString::number(value);
  if (edit->text() != shown) edit->setText(shown);
  return static_cast<int>(value);
}

}  // namespace qxr::ui
