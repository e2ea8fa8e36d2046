// The routing table: matching rules, and every routed control of the skins reaching its route
// through the real widgets and the notification adapter.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QRegularExpression>
#include <QTest>

#include <map>
#include <set>

#include "app/pages/device_option_ui.h"
#include "app/pages/device_page_widget.h"
#include "app/pages/device_profile_ui.h"
#include "app/window/notify_routes.h"
#include "tests/app/app_test_support.h"
#include "ui/notification.h"

namespace qxr::app {
namespace {

TEST(Routes, IndexedNamesNeedTheirDigits) {
  EXPECT_EQ(find_route("click", "key_12"), Route::KeyButton);
  EXPECT_EQ(find_route("click", "key_0"), Route::KeyButton);
  EXPECT_FALSE(find_route("click", "key_").has_value());
  EXPECT_FALSE(find_route("click", "key_Op_tab").has_value());
  EXPECT_FALSE(find_route("click", "key_12a").has_value());
  EXPECT_EQ(find_route("selectchanged", "key_Op_tab"), Route::OptionTab);
  EXPECT_EQ(find_route("click", "windowdeviceset_1"), Route::SystemApplet);
}

TEST(Routes, TheTypeDecidesAsMuchAsTheName) {
  EXPECT_EQ(find_route("valuechanged", "DPI_slider_2"), Route::MouseSetting);
  EXPECT_EQ(find_route("movevaluechanged", "DPI_slider_2"), Route::MouseSetting);
  EXPECT_FALSE(find_route("movevaluechanged", "repeat_rate_slider").has_value());
  EXPECT_EQ(find_route("killfocus", "DPI_edit_0"), Route::MouseSetting);
  EXPECT_FALSE(find_route("click", "device_select").has_value());
  EXPECT_EQ(find_route("selectchanged", "device_select"), Route::DeviceSelect);
  EXPECT_EQ(find_route("itemselect", "device_profile_combo"), Route::ProfileSelect);
  EXPECT_EQ(find_route("click_select_end", "device_key_light"), Route::KeySelectionEnd);
  EXPECT_EQ(find_route("click_select_end", "mouse_device_key_light"), Route::KeySelectionEnd);
  EXPECT_FALSE(find_route("click_select_end", "mousepad_device_key_light").has_value());
}

TEST(Routes, CatchAllRowsAndPassedThroughTypes) {
  EXPECT_EQ(find_route("windowinit", "anything"), Route::WindowInit);
  EXPECT_EQ(find_route("windowsize", "root"), Route::WindowSize);
  EXPECT_FALSE(find_route("windowsize", "title_bar").has_value());
  EXPECT_EQ(find_route("click_wpremove", "x"), Route::Consumed);
  EXPECT_TRUE(passed_through("click_wpadd"));
  EXPECT_TRUE(passed_through("click_wpselect"));
  EXPECT_FALSE(passed_through("click"));
  EXPECT_FALSE(find_route("timer", "device_option").has_value());
  // An index that does not fit is no index: nothing is routed for it.
  EXPECT_FALSE(find_route("click", "key_99999999999").has_value());
  EXPECT_EQ(find_route("click", "key_2147483647"), Route::KeyButton);
}

TEST(Routes, NoRowIsShadowedByAnEarlierOne) {
  // A row that can never win is a route that silently does not exist.
  const auto table = route_table();
  for (size_t i = 0; i < table.size(); ++i) {
    const RouteRow& row = table[i];
    if (row.name.empty()) continue;
    const std::string name = row.match == Match::Exact ? std::string(row.name) : std::string(row.name) + "3";
    EXPECT_EQ(find_route(row.type, name), row.route) << row.type << " " << row.name;
  }
}

// ---- through the window ----

class RoutedWindowTest : public testing::EmulatedWindowTest {};

// The widgets of the window that a row names.
std::vector<QWidget*> widgets_for(QWidget* root, const RouteRow& row) {
  std::vector<QWidget*> out;
  const QString name = QString::fromLatin1(row.name.data(), static_cast<int>(row.name.size()));
  QList<QWidget*> all = root->findChildren<QWidget*>();
  all.prepend(root);
  for (QWidget* w : all) {
    const QString n = w->objectName();
    if (row.match == Match::Exact ? n == name
                                  : (n.startsWith(name) && n.size() > name.size() &&
                                     QRegularExpression(QStringLiteral("^\\d+$")).match(n.mid(name.size())).hasMatch())) {
      out.push_back(w);
    }
  }
  return out;
}

TEST_F(RoutedWindowTest, EveryRoutedControlOfTheSkinsReachesItsRoute) {
  start({}, true);
  std::vector<std::pair<Route, QString>> seen;
  window_->set_route_observer([&](Route r, const ui::Notification& n) {
    seen.emplace_back(r, n.sender_name);
    return true;  // the routing alone is under test
  });
  std::set<std::string> reached;
  for (const RouteRow& row : route_table()) {
    if (row.name.empty()) continue;
    for (QWidget* w : widgets_for(window_.get(), row)) {
      seen.clear();
      ASSERT_TRUE(ui::send_notify(w, QString::fromLatin1(row.type.data(), static_cast<int>(row.type.size()))));
      ASSERT_EQ(seen.size(), 1u) << row.type << " " << w->objectName().toStdString();
      EXPECT_EQ(seen[0].first, row.route) << row.type << " " << w->objectName().toStdString();
      EXPECT_EQ(seen[0].second, w->objectName());
      reached.insert(std::string(row.type) + " " + std::string(row.name));
    }
  }
  // The controls of this program's own pages and panels are all in the skins.
  const char* expected[] = {
      "click closebtn", "click minbtn", "click maxbtn", "click restorebtn", "click setbtn",
      "click control_light_status", "click nodevice_ok_btn", "click key_", "click default_btn",
      "click reset_repeat_btn", "click device_add_btn", "click device_sub_btn", "click device_copy_btn",
      "click device_reset_btn", "click device_profile_edit_save_btn", "click profile_fun_spread_btn",
      "click device_export_btn", "click device_import_btn", "selectchanged device_select",
      "selectchanged synchro_device_select", "selectchanged polling_rate_option_",
      "selectchanged repeat_delay_check_", "selectchanged winlockflag_option", "selectchanged wflag_option",
      "selectchanged 6flag_option", "selectchanged DPI_enable_check_", "selectchanged pointer_precision_check",
      "selectchanged scrolls_page_check", "selectchanged deng_Op_tab", "selectchanged key_Op_tab",
      "selectchanged macro_Op_tab", "selectchanged system_Op_tab", "selectchanged cursor_Op_tab",
      "selectchanged 6533_voice_Op_tab", "selectchanged magic_Op_tab", "selectchanged Virtual7.1_Op_tab", "selectchanged shoot_Op_tab",
      "valuechanged DPI_slider_", "valuechanged repeat_rate_slider", "valuechanged pointer_speed_slider",
      "valuechanged scroll_speed_slider", "valuechanged double_click_slider", "movevaluechanged DPI_slider_",
      "itemselect device_profile_combo", "killfocus DPI_edit_", "click_select_end device_key_light",
      "click_select_end mouse_device_key_light"};
  for (const char* e : expected) EXPECT_TRUE(reached.count(e)) << e;
}

TEST_F(RoutedWindowTest, RealClicksTravelTheSameWay) {
  start({}, true);
  std::vector<std::pair<Route, QString>> seen;
  window_->set_route_observer([&](Route r, const ui::Notification& n) {
    if (n.type == ui::notify_type::kClick || n.type == ui::notify_type::kSelectChanged) seen.emplace_back(r, n.sender_name);
    return true;
  });
  auto* keyboard = page(testing::kKeyboardRow);
  ASSERT_NE(keyboard, nullptr);
  window_->devices().entry_picked(entry(testing::kKeyboardRow));
  auto* add = keyboard->findChild<QAbstractButton*>(QStringLiteral("device_add_btn"));
  auto* tab = keyboard->findChild<QAbstractButton*>(QStringLiteral("system_Op_tab"));
  ASSERT_NE(add, nullptr);
  ASSERT_NE(tab, nullptr);
  keyboard->profile_panel()->SetMenuVisible(true);
  QTest::mouseClick(add, Qt::LeftButton);
  QTest::mouseClick(tab, Qt::LeftButton);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(Route::ProfileAction, QStringLiteral("device_add_btn")));
  // A checkable tab reports the click and the change; the change is what is routed.
  bool tab_routed = false;
  for (const auto& s : seen) tab_routed |= s == std::make_pair(Route::OptionTab, QStringLiteral("system_Op_tab"));
  EXPECT_TRUE(tab_routed);
}

}  // namespace
}  // namespace qxr::app
