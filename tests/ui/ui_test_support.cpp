#include "ui_test_support.h"

#include <gtest/gtest.h>

#include <QDir>

#include "ui/language.h"

namespace qxr::ui::testing {

QString source_dir() {
  const QByteArray env = qgetenv(kSourceDirEnv);
  return env.isEmpty() ? QStringLiteral(QXR_TEST_SOURCE_DIR) : QString::fromLocal8Bit(env);
}

QString test_skin_dir() { return QDir(source_dir()).filePath(QStringLiteral("tests/ui/data")); }

int Recorder::count(const QString& type, const QString& sender) const {
  int n = 0;
  for (const Notification& x : got) {
    if (x.type == type && (sender.isEmpty() || x.sender_name == sender)) ++n;
  }
  return n;
}

std::optional<Notification> Recorder::last(const QString& type, const QString& sender) const {
  for (auto it = got.rbegin(); it != got.rend(); ++it) {
    if (it->type == type && (sender.isEmpty() || it->sender_name == sender)) return *it;
  }
  return std::nullopt;
}

ScopedResources::ScopedResources(const SkinResources& resources) : previous_(SkinResources::global()) {
  SkinResources::install(resources);
}

ScopedResources::~ScopedResources() { SkinResources::install(previous_); }

void use_language(const QString& file) {
  if (!Language::instance().load(file)) ADD_FAILURE_AT(__FILE__, __LINE__);
}

}  // namespace qxr::ui::testing
