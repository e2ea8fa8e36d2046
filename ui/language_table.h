#pragma once
// One language file: our own XML table of language key -> text.
//
//   <Language name="en_US">
//     <Text key="software_rev_text">Software version: </Text>
//   </Language>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace qxr::ui {

class LanguageTable {
 public:
  // Nothing when the file is missing or not well-formed.
  static std::optional<LanguageTable> load(const QString& path);
  static std::optional<LanguageTable> parse(const QByteArray& xml);

  std::optional<QString> text(const QString& key) const;
  bool contains(const QString& key) const { return texts_.contains(key); }
  QStringList keys() const { return texts_.keys(); }
  qsizetype size() const { return texts_.size(); }
  const QString& name() const { return name_; }
  // Keys that appear more than once in the file (the first text wins).
  const QStringList& duplicates() const { return duplicates_; }

  void insert(const QString& key, const QString& text) { texts_.insert(key, text); }
  // Adds the keys of other that this table lacks; texts already here win.
  void merge_missing(const LanguageTable& other);

 private:
  QString name_;
  QHash<QString, QString> texts_;
  QStringList duplicates_;
};

}  // namespace qxr::ui
