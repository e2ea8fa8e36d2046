// The skins: each builds, carries every control the code looks up, and the keyboard page is a
// keyboard (a button and an indicator for every logical key, keys that do not overlap).
#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QStackedWidget>

#include <memory>
#include <set>

#include "app/startup/app_identity.h"
#include "app/window/app_style.h"
#include "app/pages/device_models.h"
#include "app/pages/device_page_widget.h"
#include "app/pages/kind_pages.h"
#include "app/window/language_choice.h"
#include "app/window/main_wnd.h"
#include "app/pages/power_view.h"
#include "app/window/skin_pictures.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/select_panel.h"
#include "ui/language.h"
#include "ui/language_table.h"
#include "ui/skin_control.h"
#include "ui/skin_loader.h"
#include "ui/skin_resources.h"

namespace qxr::app {
namespace {

std::unique_ptr<QWidget> load(const QString& file) {
  ui::SkinLoader loader;
  return std::unique_ptr<QWidget>(loader.load_skin(file));
}

QString name_of(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

TEST(Skins, EveryProgramSkinBuilds) {
  const char* files[] = {kMainSkin, kEntryPageFile, kPowerPanelFile, kProfilePanelFile};
  for (const char* f : files) EXPECT_NE(load(QString::fromLatin1(f)), nullptr) << f;
  for (const devices::KindRow& m : devices::device_kinds()) EXPECT_NE(load(name_of(m.page_file)), nullptr) << m.page_file;
}

TEST(Skins, TheMainWindowHasEveryControlItLooksUp) {
  auto root = load(QString::fromLatin1(kMainSkin));
  ASSERT_NE(root, nullptr);
  for (const char* name : kMainRequiredControls) {
    const bool found = root->objectName() == QLatin1String(name) || root->findChild<QWidget*>(QLatin1String(name)) != nullptr;
    EXPECT_TRUE(found) << name;
  }
  EXPECT_NE(root->findChild<QStackedWidget*>(QString::fromLatin1(kDeviceSwitchName)), nullptr);
  EXPECT_NE(root->findChild<QStackedWidget*>(QString::fromLatin1(kPowerContainerName)), nullptr);
}

TEST(Skins, PanelsHaveTheirControls) {
  auto entry = load(QString::fromLatin1(kEntryPageFile));
  ASSERT_NE(entry, nullptr);
  for (const char* n : {"device_select", "synchro_device_select"}) EXPECT_NE(entry->findChild<QWidget*>(n), nullptr) << n;
  auto power = load(QString::fromLatin1(kPowerPanelFile));
  ASSERT_NE(power, nullptr);
  for (const char* n : {"device_power_value", "device_wuxian_logo", "device_Power_progress", "device_power_status",
                        "device_phone_type", "device_power_Layout"}) {
    EXPECT_NE(power->findChild<QWidget*>(n), nullptr) << n;
  }
  auto profile = load(QString::fromLatin1(kProfilePanelFile));
  ASSERT_NE(profile, nullptr);
  for (const char* n : {"device_profile_combo", "device_profile_name_edit", "profile_menu_layout", "deng_Op_tab",
                        "key_Op_tab", "macro_Op_tab", "system_Op_tab", "cursor_Op_tab", "6533_voice_Op_tab",
                        "magic_Op_tab", "Virtual7.1_Op_tab", "device_add_btn", "device_sub_btn", "device_copy_btn",
                        "device_reset_btn", "device_import_btn", "device_export_btn", "device_profile_edit_save_btn",
                        "profile_fun_spread_btn"}) {
    EXPECT_NE(profile->findChild<QWidget*>(n), nullptr) << n;
  }
}

struct PageButtons {
  std::map<int, CDeviceKeyButtonUI*> keys;
  std::map<int, CDeviceKeyButtonUI*> lights;
};

// Key buttons by "key_N"; light indicators by "light_N" or by the user data "light_N" of a
// button, as the page binds them.
PageButtons buttons_of(QWidget* page) {
  PageButtons b;
  auto panels = ui::children_of_class(page, QStringLiteral("SelectPanel"));
  if (panels.isEmpty()) return b;
  auto index_after = [](const QString& text, const QString& prefix) {
    bool ok = false;
    const int i = text.startsWith(prefix) ? text.mid(prefix.size()).toInt(&ok) : -1;
    return ok ? i : -1;
  };
  for (CDeviceKeyButtonUI* k : key_buttons(panels.first())) {
    const int key = index_after(k->objectName(), QStringLiteral("key_"));
    if (key >= 0) {
      EXPECT_TRUE(b.keys.emplace(key, k).second) << key;
    }
    int light = index_after(k->objectName(), QStringLiteral("light_"));
    if (light < 0) light = index_after(k->property("userdata").toString(), QStringLiteral("light_"));
    if (light >= 0) {
      EXPECT_TRUE(b.lights.emplace(light, k).second) << light;
    }
  }
  return b;
}

TEST(Skins, EveryPageHasAButtonPerKeyAndAnIndicatorPerLed) {
  for (const devices::KindRow& m : devices::device_kinds()) {
    auto page = load(name_of(m.page_file));
    ASSERT_NE(page, nullptr);
    for (const char* name : kPageRequiredControls) EXPECT_NE(page->findChild<QWidget*>(name), nullptr) << name;
    const PageButtons b = buttons_of(page.get());
    EXPECT_EQ(static_cast<int>(b.keys.size()), m.key_count) << m.model_folder;
    EXPECT_EQ(static_cast<int>(b.lights.size()), m.led_count) << m.model_folder;
    if (!b.keys.empty()) {
      EXPECT_EQ(b.keys.rbegin()->first, m.key_count - 1);
    }
    if (!b.lights.empty()) {
      EXPECT_EQ(b.lights.rbegin()->first, m.led_count - 1);
    }
  }
}

TEST(Skins, TheKeyboardPageIsAKeyboard) {
  auto page = load(name_of(devices::device_kinds()[0].page_file));
  ASSERT_NE(page, nullptr);
  for (const char* name : kKeyboardRequiredControls) EXPECT_NE(page->findChild<QWidget*>(name), nullptr) << name;
  const PageButtons b = buttons_of(page.get());
  QWidget* board = page->findChild<QWidget*>(QStringLiteral("keyboard_device_key_light"));
  ASSERT_NE(board, nullptr);
  std::vector<std::pair<int, QRect>> visible;
  for (const auto& [i, key] : b.keys) {
    // Every key shows its own light: key N is light indicator N.
    EXPECT_EQ(b.lights.at(i), key) << i;
    if (key->isHidden()) continue;
    EXPECT_TRUE(board->rect().contains(key->geometry())) << i;
    visible.emplace_back(i, key->geometry());
  }
  // A full-size keyboard: function row, number row, letters, modifiers, navigation, number pad.
  EXPECT_GE(visible.size(), 104u);
  for (size_t a = 0; a < visible.size(); ++a) {
    for (size_t c = a + 1; c < visible.size(); ++c) {
      EXPECT_FALSE(visible[a].second.intersects(visible[c].second)) << visible[a].first << " " << visible[c].first;
    }
  }
  // Spot checks of the layout: Esc left of F1, Q below 1, the space bar widest, numpad to the right.
  auto at = [&](int key) { return b.keys.at(key)->geometry(); };
  EXPECT_LT(at(0).right(), at(1).left());
  EXPECT_GT(at(43).top(), at(22).bottom());
  int widest = 0;
  for (const auto& v : visible) widest = std::max(widest, v.second.width());
  EXPECT_EQ(at(108).width(), widest);
  EXPECT_GT(at(38).left(), at(37).right());
  EXPECT_EQ(b.keys.at(63)->text(), QStringLiteral("Caps"));
}

TEST(Skins, EveryImageTheProgramNamesExists) {
  const ui::SkinResources& skin = ui::SkinResources::global();
  for (int kind : {1, 2, 3, 6, 7, 0}) {
    for (int variant : {0, 1}) {
      for (EntryImage image : {EntryImage::Normal, EntryImage::Selected, EntryImage::SynchroNormal,
                               EntryImage::SynchroSelected}) {
        const std::string file = entry_image(entry_image_prefix(kind, variant), image);
        EXPECT_FALSE(QPixmap(skin.file_path(QString::fromStdString(file))).isNull()) << file;
      }
    }
  }
  for (uint8_t charging : {kChargeFull, kChargeCharging, kChargeBattery}) {
    for (uint8_t wireless : {0, 1}) {
      for (uint8_t phone : {0, 1, 2, 3}) {
        const uint8_t s[] = {50, charging, 0, wireless, 0, phone};
        const PowerView v = power_view(s, sizeof s, kPowerModePhoneCharger);
        EXPECT_FALSE(QPixmap(skin_image_path(QString::fromStdString(*v.status_image))).isNull()) << *v.status_image;
        EXPECT_FALSE(QPixmap(skin_image_path(QString::fromStdString(*v.phone_image))).isNull()) << *v.phone_image;
      }
    }
  }
  EXPECT_FALSE(QPixmap(skin_image_path(QStringLiteral("power/wuxian_logo.png"))).isNull());
  for (const devices::KindRow& m : devices::device_kinds()) {
    auto page = load(name_of(m.page_file));
    for (QWidget* shows : page->findChildren<QWidget*>()) {
      const QVariant picture = shows->property(kPictureAttribute);
      if (picture.isValid()) {
        EXPECT_FALSE(QPixmap(skin_image_path(picture.toString())).isNull()) << picture.toString().toStdString();
      }
    }
  }
}

// Every text key of the program's skins and code is in both languages.
TEST(Skins, EveryTextKeyIsInEveryLanguage) {
  // Texts stay their keys while no language is loaded.
  ui::Language::instance().set_table(ui::LanguageTable{});
  const ui::SkinResources& skin = ui::SkinResources::global();
  std::vector<ui::LanguageTable> tables;
  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    auto base = ui::LanguageTable::load(skin.file_path(QString::fromLatin1(file)));
    auto ours = ui::LanguageTable::load(skin.file_path(QStringLiteral("app_") + QString::fromLatin1(file)));
    ASSERT_TRUE(base.has_value() && ours.has_value()) << file;
    for (const QString& k : ours->keys()) {
      if (!base->contains(k)) base->insert(k, *ours->text(k));
    }
    tables.push_back(*base);
  }
  const ui::LanguageTable& en = tables[0];
  const ui::LanguageTable& cn = tables[1];
  std::set<QString> keys;
  // Texts the skins show: every one that is a key in one language must be in the other.
  std::vector<std::unique_ptr<QWidget>> trees;
  trees.push_back(load(QString::fromLatin1(kMainSkin)));
  trees.push_back(load(QString::fromLatin1(kEntryPageFile)));
  trees.push_back(load(QString::fromLatin1(kPowerPanelFile)));
  trees.push_back(load(QString::fromLatin1(kProfilePanelFile)));
  for (const devices::KindRow& m : devices::device_kinds()) trees.push_back(load(name_of(m.page_file)));
  for (const auto& tree : trees) {
    QList<QWidget*> all = tree->findChildren<QWidget*>();
    all << tree.get();
    for (QWidget* w : all) {
      for (const QString& source : {ui::Language::instance().text_key(w), w->toolTip()}) {
        if (source.isEmpty()) continue;
        if (en.contains(source) || cn.contains(source)) keys.insert(source);
      }
    }
  }
  // Keys the code puts on screen.
  for (const char* k : {"light_summary_format", "Repeat_Delay_Time", "tray_show_text", "tray_exit_text",
                        "message_text_5", "message_text_7", "message_text_16", "message_text_22", "message_text_25",
                        kLightControlOnText, kLightControlOffText, "Phone_type_iphone", "Phone_type_samsung",
                        "Phone_type_other", "Phone_type_no_device", "kb_device_name_text", "ms_device_name_text",
                        "soft_mp_device_name_text", "hard_mp_device_name_text", "hd_device_name_text",
                        "unknow_device_name_text", "editor_pending_text", "No_device_Link_text"}) {
    keys.insert(QString::fromUtf8(k));
  }
  EXPECT_GT(keys.size(), 40u);
  for (const QString& k : keys) {
    EXPECT_TRUE(en.contains(k)) << "en lacks " << k.toStdString();
    EXPECT_TRUE(cn.contains(k)) << "cn lacks " << k.toStdString();
  }
}

TEST(Skins, TheMouseSettingsControlsAreThere) {
  auto page = load(name_of(devices::device_kinds()[1].page_file));
  ASSERT_NE(page, nullptr);
  for (int i = 0; i < 5; ++i) {
    for (const char* prefix : {"DPI_layout_", "DPI_enable_check_", "DPI_slider_", "DPI_edit_", "polling_rate_option_"}) {
      EXPECT_NE(page->findChild<QWidget*>(QString::fromLatin1(prefix) + QString::number(i)), nullptr) << prefix << i;
    }
  }
  for (const char* n : {"pointer_speed_slider", "pointer_precision_check", "scrolls_page_check", "scroll_speed_slider",
                        "double_click_slider", "device_tishi_info", "mouse_device_seting_layout"}) {
    const bool found = page->objectName() == QLatin1String(n) || page->findChild<QWidget*>(n) != nullptr;
    EXPECT_TRUE(found) << n;
  }
}

TEST(Skins, GeneratedFilesAreCurrent) {
  // The page skins and pictures are generated; a hand edit would be lost at the next run.
  const QString script = QStringLiteral(QXR_TEST_SOURCE_DIR "/tools/skin/make_skin.py");
  ASSERT_TRUE(QFile::exists(script));
  const int rc = std::system(("python3 '" + script.toStdString() + "' --check > /dev/null").c_str());
  EXPECT_EQ(rc, 0) << "run tools/skin/make_skin.py and commit its output";
}

}  // namespace
}  // namespace qxr::app
