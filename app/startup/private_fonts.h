#pragma once
// The fonts the program brings in its "Font" folder, loaded for this process only.
#include <QString>
#include <QStringList>

#include <array>

namespace qxr::app {

inline constexpr std::array<const char*, 4> kPrivateFontFiles = {
    "Font/Simplified_Chinese.ttf", "Font/Talvence-Regular.otf", "Font/NotoSansThai-Regular.ttf",
    "Font/NotoSansCJKtc-Regular.otf"};

class PrivateFont {
 public:
  // folder: the program data folder that holds "Font".
  explicit PrivateFont(QString folder) : folder_(std::move(folder)) {}
  ~PrivateFont();
  PrivateFont(const PrivateFont&) = delete;
  PrivateFont& operator=(const PrivateFont&) = delete;

  // A file that is missing or not a font leaves this font absent.
  bool load(const QString& relative_name);
  bool loaded() const { return id_ >= 0; }
  QStringList families() const;

 private:
  QString folder_;
  int id_ = -1;
};

// The four fonts, loaded in order for the whole run; removed last loaded first.
class PrivateFonts {
 public:
  explicit PrivateFonts(const QString& folder);
  ~PrivateFonts();
  int loaded_count() const;

 private:
  std::array<PrivateFont*, kPrivateFontFiles.size()> fonts_{};
};

}  // namespace qxr::app
