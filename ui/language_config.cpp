#include "ui/language_config.h"

#include <QFile>
#include <QFont>

#include <algorithm>
#include <array>

#include "profile/language_config.h"
#include "ui/dpi.h"

namespace qxr::ui {
namespace {

constexpr int kThaiIndex = 15;
constexpr int kSimplifiedChineseIndex = 0;
constexpr int kTraditionalChineseIndex = 2;
constexpr int kNoLanguage = -1;

constexpr std::array<FontSpec, 14> kFontTable{{
    {-1, 14, false, false},
    {0, 15, false, false},
    {1, 14, false, true},
    {2, 18, false, false},
    {3, 30, false, false},
    {4, 16, false, false},
    {5, 20, false, false},
    {6, 22, false, false},
    {7, 14, false, false},
    {8, 12, false, false},
    {9, 11, false, false},
    {10, 10, false, false},
    {11, 28, false, false},
    {50, 18, true, false},
}};

}  // namespace

std::vector<LanguageEntry> parse_language_config(const std::string& json_text) {
  std::vector<LanguageEntry> entries;
  for (const LanguageConfigEntry& e : ParseLanguageConfig(json_text)) {
    entries.push_back({e.id, QString::fromStdString(e.name), QString::fromStdString(e.file), QString::fromStdString(e.text)});
  }
  return entries;
}

std::vector<LanguageEntry> read_language_config(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return parse_language_config(file.readAll().toStdString());
}

std::optional<int> language_index(std::span<const LanguageEntry> entries, int id) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].id == id) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<QString> interface_font_for(int index, int previous) {
  if (index == kThaiIndex) return QStringLiteral("Noto Sans Thai");
  if (index == kSimplifiedChineseIndex) return QStringLiteral("汉仪菱心体简");
  if (index == kTraditionalChineseIndex) return QStringLiteral("Noto Sans CJK TC Regular");
  if (previous == kThaiIndex || previous == kNoLanguage || previous == kTraditionalChineseIndex ||
      previous == kSimplifiedChineseIndex) {
    return QStringLiteral("Verdana Unicode MS");
  }
  return std::nullopt;
}

std::span<const FontSpec> font_table() { return kFontTable; }

QFont font_for(int id, const QString& face, int dpi) {
  const auto it = std::find_if(kFontTable.begin(), kFontTable.end(), [id](const FontSpec& f) { return f.id == id; });
  const FontSpec& spec = it != kFontTable.end() ? *it : kFontTable.front();
  QFont font(face);
  font.setPixelSize(scale_px(spec.size, dpi));
  font.setBold(spec.bold);
  font.setUnderline(spec.underline);
  return font;
}

}  // namespace qxr::ui
