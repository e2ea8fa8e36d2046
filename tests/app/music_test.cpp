// The music lighting in the program: the style window and its file, the colour the recorder
// gets, the data blocks that reach the first keyboard, and (against a private sound server and
// the real recorder) sound turning into keyboard frames.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSlider>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include "app/pages/device_page_widget.h"
#include "app/window/music_link.h"
#include "devices/lighting/keyboard_modes.h"
#include "music/exchange_buffers.h"
#include "music/recorder_link.h"
#include "profile/data_paths.h"
#include "tests/app/music_test_support.h"
#include "tests/support/event_loop.h"
#include "ui/controls/audio_record.h"
#include "ui/music_wnd.h"

namespace qxr::app::testing {
namespace {

using emu::DeviceType;
using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;

void leave(QWidget* w) {
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(w, &out);
}

void type_into(QLineEdit* edit, const QString& text) {
  edit->clear();
  QTest::keyClicks(edit, text);
  leave(edit);
}

// The colour of the last colour line among lines.
std::optional<music::StyleColour> last_colour(const std::vector<std::string>& lines) {
  std::optional<music::StyleColour> colour;
  for (const std::string& line : lines) {
    auto r = music::parse_request(line);
    if (r && r->kind == music::RecorderRequest::Kind::Colour) colour = r->colour;
  }
  return colour;
}

// Runs the style window modally, with `act` working in it once it is open.
int run_style_window(CMainWnd& window, std::function<void(MusicWnd&)> act) {
  QTimer::singleShot(0, [&window, act] {
    MusicWnd* w = window.music().style_window();
    ASSERT_NE(w, nullptr);
    act(*w);
  });
  window.music().open_style_window();
  return 0;
}

class MusicTest : public MusicWindowTest {};

TEST_F(MusicTest, StylesNamesAndColoursSurviveARestartAndGreenZeroIsSentAsOne) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  use_idle_recorder();
  start_serving({});
  FakeRecorder recorder;
  std::vector<std::string> got;
  run_style_window(*window_, [&](MusicWnd& w) {
    // The open window needs the recorder: it is started, and the test answers in its place.
    ASSERT_TRUE(wait_until([&] { return window_->music().supervisor().phase() == music::RecorderSupervisor::Phase::Starting; }));
    ASSERT_TRUE(recorder.connect());
    recorder.send("recorder-ready 4242\n");
    got = recorder.lines(4);
    // Style 3 (blue by default: green 0), red raised to 4 by the user's key steps.
    w.find<QAbstractButton>(QStringLiteral("audio_select_tab3"))->click();
    auto* red = w.find<QSlider>(QStringLiteral("audio_r_slider"));
    EXPECT_EQ(w.find<QSlider>(QStringLiteral("audio_b_slider"))->value(), 9);
    for (int i = 0; i < 4; ++i) QTest::keyClick(red, Qt::Key_Right);
    type_into(w.find<QLineEdit>(QStringLiteral("audio_edit_name1")), QStringLiteral("Bass"));
    auto* third = w.find<QLineEdit>(QStringLiteral("audio_edit_name3"));
    type_into(third, QString());
    EXPECT_EQ(third->text(), QStringLiteral("第三组"));
    w.find<QAbstractButton>(QStringLiteral("okbtn"))->click();
  });
  // Connected as the Part's sequence says: attach (with our process id), reset, start; colour.
  ASSERT_GE(got.size(), 4u);
  EXPECT_EQ(got[0], "recorder-cmd 0 " + std::to_string(QCoreApplication::applicationPid()));
  EXPECT_EQ(got[1], "recorder-cmd 3 0");
  EXPECT_EQ(got[2], "recorder-cmd 1 0");
  // Confirming sends the new colour: green 0 travels as 1.
  EXPECT_EQ(last_colour(recorder.lines(got.size() + 1)), (music::StyleColour{4, 1, 9}));
  // With no music mode left, the recorder is told to go: stop, detach, quit.
  const std::vector<std::string> after = recorder.lines(got.size() + 4);
  ASSERT_GE(after.size(), got.size() + 4);
  EXPECT_EQ(std::vector<std::string>(after.end() - 3, after.end()),
            (std::vector<std::string>{"recorder-cmd 2 0", "recorder-cmd 4 0", "recorder-cmd 5 0"}));

  // A restart reads the same styles from "AudioFile.json".
  window_->shutdown();
  window_.reset();
  server_.reset();
  start_serving({});
  const AudioStyles& styles = window_->music().styles();
  EXPECT_EQ(styles.selected, 2);
  EXPECT_EQ(styles.styles[2], (AudioStyle{"第三组", 4, 0, 9}));
  EXPECT_EQ(styles.styles[0].name, "Bass");
  EXPECT_EQ(styles.styles[1], DefaultAudioStyles().styles[1]);
  run_style_window(*window_, [&](MusicWnd& w) {
    EXPECT_TRUE(w.find<QAbstractButton>(QStringLiteral("audio_select_tab3"))->isChecked());
    EXPECT_EQ(w.find<QSlider>(QStringLiteral("audio_r_slider"))->value(), 4);
    EXPECT_EQ(w.find<QSlider>(QStringLiteral("audio_g_slider"))->value(), 0);
    EXPECT_EQ(w.find<QLineEdit>(QStringLiteral("audio_edit_name1"))->text(), QStringLiteral("Bass"));
    // Another tab shows that style's colour; closing keeps nothing of it.
    w.find<QAbstractButton>(QStringLiteral("audio_select_tab2"))->click();
    EXPECT_EQ(w.find<QSlider>(QStringLiteral("audio_g_slider"))->value(), 9);
    w.find<QAbstractButton>(QStringLiteral("closebtn"))->click();
  });
  EXPECT_EQ(LoadAudioFile(UserDataRoot() + kAudioFileName).selected, 2);
}

TEST_F(MusicTest, DataBlocksFeedTheFirstKeyboardAndOnlyTheirBuffersWorth) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  use_idle_recorder();
  start_serving({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  choose_keyboard_mode(lighting::kModeMusic);
  const std::vector<uint8_t> silent_frame = emu_->memory(DeviceType::Keyboard, emu::Memory::kLightFrame);
  // Other ids and empty blocks are ignored; an oversized block is cut to its buffer.
  window_->handle_message({MessageKind::Data, 7, 0, std::vector<uint8_t>(4000, 0x7F)});
  window_->handle_message({MessageKind::Data, 1, 0, {}});
  EXPECT_EQ(window_->music().spectrum_blocks(), 0u);
  // Loud blocks, each unlike the one before: the bands light and the keyboard's frame shows it.
  std::vector<uint8_t> block(music::kSpectrumBlockBytes + 500, 0);
  bool changed = false;
  for (int i = 0; i < 20 && !changed; ++i) {
    std::fill(block.begin(), block.end(), static_cast<uint8_t>(i % 2 == 0 ? 0x00 : 0x10));
    window_->handle_message({MessageKind::Data, 1, 0, block});
    spin(20);
    const std::vector<uint8_t> frame = emu_->memory(DeviceType::Keyboard, emu::Memory::kLightFrame);
    changed = frame != silent_frame && std::any_of(frame.begin(), frame.end(), [](uint8_t b) { return b != 0; });
  }
  EXPECT_TRUE(changed);
  EXPECT_GT(window_->music().spectrum_blocks(), 0u);
}

TEST_F(MusicTest, TheMusicControlsLeaveTheWholePictureInSight) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  use_idle_recorder();
  start_serving({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  // The music mode's panel is the tallest lighting panel. The other tabs' panels, built when
  // first shown, are taller still, but they hide the picture and must not size this one.
  auto* options = page(kKeyboardRow)->findChild<QStackedWidget*>(QStringLiteral("device_option_switch"));
  QWidget* picture = page(kKeyboardRow)->findChild<QWidget*>(QStringLiteral("device_key_light"));
  ASSERT_NE(picture, nullptr);
  ASSERT_NE(options, nullptr);
  for (int tab = options->count() - 1; tab >= 0; --tab) {
    page(kKeyboardRow)->show_option_page(tab);
    spin(20);
  }
  choose_keyboard_mode(lighting::kModeMusic);
  spin(50);
  const int picture_bottom = picture->mapTo(window_.get(), QPoint(0, picture->height())).y();
  EXPECT_LE(picture_bottom, options->mapTo(window_.get(), QPoint(0, 0)).y());
  EXPECT_LE(options->mapTo(window_.get(), QPoint(0, options->height())).y(), window_->height());
}

TEST_F(MusicTest, TheRecorderRunsOnlyWhileAKeyboardIsInAMusicMode) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  use_idle_recorder();
  start_serving({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  spin(1500);  // a watcher round: nothing needs it
  EXPECT_EQ(window_->music().supervisor().phase(), music::RecorderSupervisor::Phase::Off);
  choose_keyboard_mode(lighting::kModeFedColour);
  EXPECT_EQ(window_->music().supervisor().phase(), music::RecorderSupervisor::Phase::Starting);
  choose_keyboard_mode(lighting::kModeColumnWave);
  EXPECT_EQ(window_->music().supervisor().phase(), music::RecorderSupervisor::Phase::Off);
  // Handing the lighting over to the devices needs no recorder either.
  choose_keyboard_mode(lighting::kModeMusic);
  window_->handle_message({MessageKind::LightControl, 1, 0, {}});
  EXPECT_EQ(window_->music().supervisor().phase(), music::RecorderSupervisor::Phase::Off);
}

TEST_F(MusicTest, ARecorderThatCannotStartIsReportedOnceAndTriedAgain) {
  QXR_SKIP_WHERE_FORK_CONFUSES_TSAN();
  qputenv("QXR470_RECORDER", QByteArray("/nonexistent/qxr470-recorder"));
  start_serving({DeviceType::Keyboard});
  ASSERT_TRUE(wait_connected(kKeyboardRow));
  choose_keyboard_mode(lighting::kModeMusic);
  ASSERT_TRUE(wait_until([&] { return !prompts_.notified.isEmpty(); }));
  EXPECT_EQ(prompts_.notified, QStringList{QString::fromLatin1(kRecorderNotStartedText)});
  EXPECT_EQ(window_->music().supervisor().phase(), music::RecorderSupervisor::Phase::Waiting);
  // Tried again after the first pause (2 s), failing again without a second message.
  const uint64_t first_retry = window_->music().supervisor().retry_at_ms();
  ASSERT_TRUE(wait_until([&] { return window_->music().supervisor().retry_at_ms() > first_retry; }, 8000));
  EXPECT_EQ(prompts_.notified.size(), 1);
  EXPECT_TRUE(prompts_.informed.isEmpty());  // nothing waited for the user
}

}  // namespace
}  // namespace qxr::app::testing
