// The headset pages' texts: every key the headset page's skin and the unusable settings' tips
// put on screen exists in every language.
#include <gtest/gtest.h>

#include "devices/audio/headset_audio_page.h"
#include "editors/headset/headset_panel.h"
#include "editors/headset/register_headset.h"
#include "tests/editors/skin_texts.h"

using namespace qxr;

TEST(HeadsetTexts, EveryKeyShownExistsInEveryLanguage) {
  std::set<QString> used = qxr::testing::skin_text_keys(QStringLiteral("zo6533device.ui"));
  EXPECT_TRUE(used.count(QStringLiteral("hs_eq_preset_13_text")));  // the scan does find keys
  for (audio::FeatureState state : {audio::FeatureState::NoDevice, audio::FeatureState::Unsupported}) {
    const std::string_view key = editors::headset::HeadsetPanel::reason_key(state);
    used.insert(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
  }
  used.insert(QStringLiteral("hs_eq_save_refused_text"));
  qxr::testing::expect_texts_in_every_language(QString::fromLatin1(editors::kHeadsetTextPrefix), used);
}
