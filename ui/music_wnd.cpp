#include "ui/music_wnd.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QSlider>

#include <algorithm>

#include "ui/controls/audio_record.h"
#include "ui/indexed_name.h"

using namespace qxr;
using namespace qxr::ui;

namespace {
const QString kTabPrefix = QStringLiteral("audio_select_tab");
const QString kNamePrefix = QStringLiteral("audio_edit_name");
const QString kRedSlider = QStringLiteral("audio_r_slider");
const QString kGreenSlider = QStringLiteral("audio_g_slider");
const QString kBlueSlider = QStringLiteral("audio_b_slider");
const QString kOkButton = QStringLiteral("okbtn");
const QString kLevelDisplay = QStringLiteral("audio_record_view");
}  // namespace

MusicWnd::MusicWnd(const AudioStyles& styles, QWidget* parent)
    : SkinWindow(QStringLiteral("music.xml"), QStringLiteral("MusicWnd"), DpiWindow::Main, parent), styles_(styles) {
  styles_.selected = std::clamp(styles_.selected, 0, kAudioStyleCount - 1);
  for (int i = 0; i < kAudioStyleCount; ++i) {
    if (auto* edit = find<QLineEdit>(indexed_name(kNamePrefix, i + 1)))
      edit->setText(QString::fromStdString(styles_.styles[static_cast<size_t>(i)].name));
  }
  if (auto* tab = find<QAbstractButton>(indexed_name(kTabPrefix, styles_.selected + 1))) {
    const QSignalBlocker quiet(tab);
    tab->setChecked(true);
  }
  show_selected();
}

CAudioRecordUI* MusicWnd::level_display() { return find<CAudioRecordUI>(kLevelDisplay); }

void MusicWnd::show_selected() {
  const AudioStyle& s = styles_.current();
  const std::pair<const QString*, int> channels[] = {{&kRedSlider, s.red}, {&kGreenSlider, s.green}, {&kBlueSlider, s.blue}};
  for (const auto& [name, value] : channels) {
    if (auto* slider = find<QSlider>(*name)) slider->setValue(value);
  }
}

void MusicWnd::take_name(int style) {
  auto* edit = find<QLineEdit>(indexed_name(kNamePrefix, style + 1));
  if (edit == nullptr) return;
  std::string name = edit->text().trimmed().toStdString();
  if (name.empty()) {
    name = DefaultAudioStyleName(style);
    edit->setText(QString::fromStdString(name));
  }
  styles_.styles[static_cast<size_t>(style)].name = name;
}

void MusicWnd::on_notify(const Notification& n) {
  const QString& name = n.sender_name;
  if (n.type == notify_type::kSelectChanged) {
    const auto tab = index_after_prefix(name, kTabPrefix);
    if (tab && n.param1 != 0 && *tab >= 1 && *tab <= kAudioStyleCount) {
      styles_.selected = *tab - 1;
      show_selected();
    }
  } else if (n.type == notify_type::kValueChanged) {
    AudioStyle& s = styles_.styles[static_cast<size_t>(styles_.selected)];
    auto* slider = qobject_cast<QSlider*>(n.sender);
    const int value = std::clamp(slider != nullptr ? slider->value() : static_cast<int>(n.param1), 0, kAudioStyleMaxStep);
    if (name == kRedSlider) s.red = value;
    if (name == kGreenSlider) s.green = value;
    if (name == kBlueSlider) s.blue = value;
  } else if (n.type == notify_type::kKillFocus) {
    const auto style = index_after_prefix(name, kNamePrefix);
    if (style && *style >= 1 && *style <= kAudioStyleCount) take_name(*style - 1);
  } else if (n.type == notify_type::kClick && name == kOkButton) {
    // A name still being typed counts as left.
    for (int i = 0; i < kAudioStyleCount; ++i) take_name(i);
    done(kResultOk);
  }
}
