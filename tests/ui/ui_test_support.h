#pragma once
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

#include "ui/notification.h"
#include "ui/skin_resources.h"

namespace qxr::ui::testing {

// The source tree: $QXR470_SOURCE_DIR, else the tree this test was built from.
QString source_dir();
QString test_skin_dir();

// Keeps every notification it is given.
class Recorder : public NotifyHandler {
 public:
  void Notify(const Notification& n) override { got.push_back(n); }
  int count(const QString& type, const QString& sender = {}) const;
  std::optional<Notification> last(const QString& type, const QString& sender = {}) const;
  void clear() { got.clear(); }
  std::vector<Notification> got;
};

// Makes resources the global skin resources while it lives.
class ScopedResources {
 public:
  explicit ScopedResources(const SkinResources& resources);
  ~ScopedResources();

 private:
  SkinResources previous_;
};

// Loads the language file of the real skin folder (e.g. "lan_en.xml") as current.
void use_language(const QString& file);

}  // namespace qxr::ui::testing
