#include "tests/editors/light_fixture.h"

#include <QVBoxLayout>

#include "profile/json_file.h"
#include "ui/notify_wiring.h"

namespace qxr::editors::testing {

LightHarness::LightHarness() {
  new QVBoxLayout(this);
  ui::set_notify_handler(this, this);
}

LightHarness::~LightHarness() { ui::set_notify_handler(this, nullptr); }

CLightControlUI* LightHarness::add(LightTarget* target, const QString& skin) {
  auto* panel = new CLightControlUI(this);
  if (!skin.isEmpty()) panel->setProperty("skinfile", skin);
  layout()->addWidget(panel);
  if (!panel->ensure_built()) return nullptr;
  if (target != nullptr) panel->SetDeviceKind(target->kind());
  bindings.push_back({panel, target});
  return panel;
}

LightEditorHooks LightHarness::hooks() {
  LightEditorHooks h;
  h.selected_keys = [this] { return selected_keys; };
  h.devices = [this] { return bindings; };
  h.shared_light = [this](const SharedLight& s) {
    shared.push_back(s);
    int marked = 0;
    for (const LightPanelBinding& b : bindings) marked += b.target != nullptr && b.target->synchronised();
    marked_when_shared.push_back(marked);
  };
  return h;
}

void LightHarness::Notify(const ui::Notification& n) {
  if (n.sender == this) return;  // the window's own "windowinit" and "windowsize"
  for (const LightPanelBinding& b : bindings) {
    if (n.sender == nullptr || b.target == nullptr || !b.panel->isAncestorOf(n.sender)) continue;
    if (LightEditor::Notify(*b.panel, *b.target, n, hooks())) {
      ++handled;
      return;
    }
  }
  unhandled.push_back(n);
}

void EmulatedLightTest::SetUp() {
  ASSERT_TRUE(start({emu::DeviceType::Keyboard, emu::DeviceType::Mouse}));
  kb_ = std::make_unique<devices::CMarluneKeyboardDevice>(kb_page_);
  kb_->set_profile_id(kProfileId);
  ms_ = std::make_unique<devices::CMarluneMouseDevice>(ms_page_, mouse_page_);
  ms_->set_profile_id(kProfileId);
  ms_->set_led_count(6);
  ms_->set_screen_size(1920, 1080);
  kb_target_ = std::make_unique<DeviceLightTarget>(*kb_);
  ms_target_ = std::make_unique<DeviceLightTarget>(*ms_);
  harness_ = std::make_unique<LightHarness>();
  kb_panel_ = harness_->add(kb_target_.get());
  ms_panel_ = harness_->add(ms_target_.get(), QStringLiteral("LightControlBasic.ui"));
  ASSERT_NE(kb_panel_, nullptr);
  ASSERT_NE(ms_panel_, nullptr);
  harness_->resize(960, 460);
  harness_->show();
}

void EmulatedLightTest::TearDown() {
  harness_.reset();
  kb_target_.reset();
  ms_target_.reset();
  kb_.reset();
  ms_.reset();
}

void EmulatedLightTest::connect_keyboard() {
  ASSERT_TRUE(kb_->open_primary(emu_->hid_path(emu::DeviceType::Keyboard, kVendorCollection), false));
  ASSERT_EQ(kb_->connect_now(), 1);
  LightEditor::ShowDevice(*kb_panel_, *kb_target_, kb_->GetLightInfo(), kb_->audio_light_info());
  LightEditor::UpdateSameModeAvailability(harness_->bindings);
}

void EmulatedLightTest::connect_mouse() {
  ASSERT_TRUE(ms_->open_primary(emu_->hid_path(emu::DeviceType::Mouse, kVendorCollection), false));
  ASSERT_EQ(ms_->connect_now(), 1);
  LightEditor::ShowDevice(*ms_panel_, *ms_target_, ms_->GetLightInfo(), AudioLightInfo{});
  LightEditor::UpdateSameModeAvailability(harness_->bindings);
}

void EmulatedLightTest::drain() {
  kb_->drain();
  ms_->drain();
}

Json::Value EmulatedLightTest::stored(const std::string& profile_path) {
  return ReadJsonFile(profile_path)["Device"][0];
}

}  // namespace qxr::editors::testing
