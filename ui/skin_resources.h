#pragma once
// The skin folder and its index "res.xml", which maps skin names ("XML_MAIN", "XML_MSG",
// "AboutWnd.xml", ...) to the Designer files that realise them:
//
//   <Res>
//     <Skin name="XML_MSG" file="MsgWnd.ui"/>
//   </Res>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace qxr::ui {

inline constexpr const char* kSkinIndexFile = "res.xml";
inline constexpr const char* kSourceDirEnv = "QXR470_SOURCE_DIR";

class SkinResources {
 public:
  // Reads dir/res.xml. Nothing when the index is missing or not well-formed.
  static std::optional<SkinResources> open(const QString& dir);

  // The first skin folder with an index: $QXR470_SOURCE_DIR/skin, the program data's "skin"
  // (installed: <prefix>/share/qxr470/skin; see profile/data_paths.h), then the source tree this
  // build came from.
  static std::optional<SkinResources> locate();
  static QStringList search_dirs();

  // The resources every control and window uses; also makes "skin:" paths (style sheet
  // urls, image attributes) point into its folder. Until one is installed, global() is empty.
  static void install(const SkinResources& resources);
  static const SkinResources& global();

  const QString& dir() const { return dir_; }
  // Absolute path of the skin file behind name; a name that is itself a file of the folder
  // resolves to that file. Empty when neither.
  QString resolve(const QString& name) const;
  // Absolute path of a file below the skin folder (images, language files, the style sheet).
  QString file_path(const QString& relative) const;
  QStringList names() const { return index_.keys(); }
  bool empty() const { return dir_.isEmpty(); }

 private:
  QString dir_;
  QHash<QString, QString> index_;
};

}  // namespace qxr::ui
