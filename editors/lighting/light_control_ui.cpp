#include "editors/lighting/light_control_ui.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QTabWidget>

#include "core/debug_line.h"
#include "editors/lighting/colour_palette.h"
#include "editors/lighting/light_control_names.h"
#include "editors/lighting/light_edits.h"
#include "ui/indexed_name.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"
#include "ui/number_edit.h"
#include "ui/skin_loader.h"

using namespace qxr::editors;
namespace n = qxr::editors::names;

namespace {

QString qname(std::string_view name) { return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())); }

// Colour edits take three digits; the commit clamps what is typed.
constexpr int kColourEditLength = 3;
// Qt property on a swatch holding the colour it shows.
constexpr const char* kSwatchColourProperty = "_light_colour";

QString hex(Rgb c) { return QColor(c.red, c.green, c.blue).name(QColor::HexRgb); }

// A disabled colour shows faded into the card.
constexpr int kFadedAlpha = 70;

QString faded(const QColor& c) {
  return QStringLiteral("rgba(%1, %2, %3, %4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(kFadedAlpha);
}

QString swatch_sheet(Rgb c) {
  const QColor colour(c.red, c.green, c.blue);
  return QStringLiteral(
             "QPushButton { background: %1; border: 1px solid #4A4D59; border-radius: 4px; padding: 0px; "
             "min-height: 0px; }"
             "QPushButton:disabled { background: %2; border-color: #26272E; }")
      .arg(colour.name(QColor::HexRgb), faded(colour));
}

QString preset_sheet(const QColor& c) {
  return QStringLiteral(
             "QPushButton { background: %1; border: 1px solid #3A3C46; border-radius: 4px; padding: 0px; "
             "min-height: 0px; }"
             "QPushButton:hover { border: 2px solid #E8E9ED; }"
             "QPushButton:pressed { border: 2px solid #F0384F; }"
             "QPushButton:disabled { background: %2; border-color: #26272E; }")
      .arg(c.name(QColor::HexRgb), faded(c));
}

}  // namespace

CLightControlUI::CLightControlUI(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
}

CLightControlUI::~CLightControlUI() = default;

bool CLightControlUI::set_attribute(const QString& name, const QVariant& value) {
  return skin_.take_attribute(name, value);
}

bool CLightControlUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  return QWidget::event(event);
}

void CLightControlUI::showEvent(QShowEvent* event) {
  ensure_built();
  QWidget::showEvent(event);
}

bool CLightControlUI::ensure_built() {
  if (content_ != nullptr) return true;
  content_ = skin_.build(*this, *layout_, cache_);
  if (content_ == nullptr) return false;
  prepare_controls();
  return true;
}

QWidget* CLightControlUI::control(std::string_view name) {
  if (!ensure_built()) return nullptr;
  return cache_.find(qname(name));
}

void CLightControlUI::prepare_controls() {
  for (std::string_view edit : {n::kRedEdit, n::kGreenEdit, n::kBlueEdit, n::kAudioRedEdit, n::kAudioGreenEdit,
                                n::kAudioBlueEdit}) {
    qxr::ui::make_number_edit(control<QLineEdit>(edit), kColourEditLength);
  }
  // The swatches show a colour; choosing one is the palette's and the presets' job.
  for (std::string_view swatch : {n::kSwatch, n::kAudioSwatch}) {
    if (QWidget* w = control(swatch)) {
      w->setAttribute(Qt::WA_TransparentForMouseEvents);
      w->setFocusPolicy(Qt::NoFocus);
    }
  }
  paint_presets(n::kPresetPrefix);
  paint_presets(n::kAudioPresetPrefix);
  if (auto* palette = control<CColorPaletteUI>(n::kPalette)) {
    connect(palette, &CColorPaletteUI::colourPreview, this,
            [this](const QColor& c) { set_swatch(n::kSwatch, {uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())}); });
  }
  if (auto* palette = control<CColorPaletteUI>(n::kAudioPalette)) {
    connect(palette, &CColorPaletteUI::colourPreview, this, [this](const QColor& c) {
      set_swatch(n::kAudioSwatch, {uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())});
    });
  }
  set_swatch(n::kSwatch, {});
  set_swatch(n::kAudioSwatch, {});
}

void CLightControlUI::paint_presets(std::string_view prefix) {
  const QString start = qname(prefix);
  const QList<QAbstractButton*> buttons = content_->findChildren<QAbstractButton*>();
  for (QAbstractButton* b : buttons) {
    if (!b->objectName().startsWith(start)) continue;
    const QColor c = qxr::ui::parse_skin_colour(b->property(n::kPresetColourAttribute.data()).toString());
    if (!c.isValid()) continue;
    b->setStyleSheet(preset_sheet(c));
    b->setToolTip(c.name(QColor::HexRgb).toUpper());
    b->setFocusPolicy(Qt::NoFocus);
  }
}

// ---- showing ----

void CLightControlUI::SetDeviceKind(int kind) {
  kind_ = kind;
  if (shown_mode_ >= 0) ApplyLayout(shown_mode_);
}

void CLightControlUI::FillModes(const std::vector<std::string>& names, const std::vector<bool>& visible,
                                int brightness_max, int speed_max) {
  if (auto* combo = control<QComboBox>(n::kModeCombo)) {
    qxr::ui::NotifySilencer quiet(combo);
    combo->clear();
    for (const std::string& name : names) {
      const QString text = QString::fromStdString(name);
      combo->addItem(text, text);
      combo->setItemData(combo->count() - 1, QSize(0, kModeItemHeight), Qt::SizeHintRole);
    }
    qxr::ui::Language::instance().translate_tree(combo);
    if (auto* view = qobject_cast<QListView*>(combo->view())) {
      for (int i = 0; i < combo->count(); ++i) {
        const bool shown = static_cast<size_t>(i) < visible.size() && visible[static_cast<size_t>(i)];
        view->setRowHidden(i, !shown);
      }
    }
    if (shown_mode_ >= 0) combo->setCurrentIndex(shown_mode_ < combo->count() ? shown_mode_ : -1);
  }
  mode_names_ = names;
  mode_visible_ = visible;
  if (auto* s = control<QAbstractSlider>(n::kBrightnessSlider)) s->setMaximum(brightness_max);
  if (auto* s = control<QAbstractSlider>(n::kSpeedSlider)) s->setMaximum(speed_max);
}

void CLightControlUI::ShowLight(uint32_t word_a, uint32_t word_b) {
  if (!ensure_built()) return;
  const LightWords w{word_a, word_b};
  const int mode = mode_of(w);
  select_silently(n::kModeCombo, mode);
  ApplyLayout(mode);
  if (auto* s = control<QAbstractSlider>(n::kBrightnessSlider)) s->setValue(brightness_of(w));
  if (auto* s = control<QAbstractSlider>(n::kSpeedSlider)) s->setValue(speed_of(w));
  ShowColour(colour_of(w));
  ShowSevenColour(seven_colour_of(w) != 0);
  check_silently(direction_of(w) != 0 ? n::kDirectionFirst : n::kDirectionSecond, true);
  ApplyLayout(mode);
}

void CLightControlUI::ShowLight(const qxr::LightInfo& light) {
  const LightWords w = pack_light_words(light);
  ShowLight(w.a, w.b);
}

void CLightControlUI::ApplyLayout(int mode) {
  shown_mode_ = mode;
  if (std::optional<LayoutPlan> plan = layout_for(kind_, mode, same_mode_available_)) apply_plan(*plan);
}

void CLightControlUI::apply_plan(const LayoutPlan& plan) {
  for (const ControlSetting& s : plan.settings) {
    QWidget* w = control(s.control);
    if (w == nullptr) continue;
    switch (s.what) {
      case Switch::Enable:
        w->setEnabled(true);
        break;
      case Switch::Disable:
        w->setEnabled(false);
        break;
      case Switch::Show:
        w->setVisible(true);
        break;
      case Switch::Hide:
        w->setVisible(false);
        break;
    }
  }
  if (plan.colour_page) {
    QWidget* tabs = control(kColourTabLayout);
    if (auto* stack = qobject_cast<QStackedWidget*>(tabs)) {
      stack->setCurrentIndex(*plan.colour_page);
    } else if (auto* tab = qobject_cast<QTabWidget*>(tabs)) {
      qxr::ui::NotifySilencer quiet(tab);
      tab->setCurrentIndex(*plan.colour_page);
    }
  }
  if (plan.labels) {
    qxr::ui::Language& language = qxr::ui::Language::instance();
    language.set_text(control(n::kDirectionFirst), qname(plan.labels->first));
    language.set_text(control(n::kDirectionSecond), qname(plan.labels->second));
  }
  if (plan.same_mode_visible) {
    if (QWidget* same = control(kSameModeButton)) same->setVisible(*plan.same_mode_visible);
  }
}

void CLightControlUI::SetSameModeAvailable(bool available) {
  same_mode_available_ = available;
  ApplyLayout(shown_mode_ >= 0 ? shown_mode_ : GetSelectedMode());
}

void CLightControlUI::ShowColour(Rgb colour) {
  set_edits(n::kRedEdit, n::kGreenEdit, n::kBlueEdit, colour);
  if (auto* palette = control<CColorPaletteUI>(n::kPalette)) palette->setColor(QColor(colour.red, colour.green, colour.blue));
  set_swatch(n::kSwatch, colour);
}

void CLightControlUI::ShowAudioColour(Rgb colour) {
  set_edits(n::kAudioRedEdit, n::kAudioGreenEdit, n::kAudioBlueEdit, colour);
  if (auto* palette = control<CColorPaletteUI>(n::kAudioPalette)) {
    palette->setColor(QColor(colour.red, colour.green, colour.blue));
  }
  set_swatch(n::kAudioSwatch, colour);
}

void CLightControlUI::PreviewColour(Rgb colour) { set_swatch(n::kSwatch, colour); }

void CLightControlUI::ShowSevenColour(bool on) { check_silently(n::kSevenColourCheck, on); }

void CLightControlUI::SelectCustomGroup(int group) { select_silently(n::kCustomCombo, group); }

void CLightControlUI::SelectSubMode(int sub_mode) { select_silently(n::kSubModeCombo, sub_mode); }

void CLightControlUI::set_swatch(std::string_view name, Rgb colour) {
  QWidget* w = control(name);
  if (w == nullptr) return;
  w->setProperty(kSwatchColourProperty, toolkit_colour(colour));
  w->setStyleSheet(swatch_sheet(colour));
  w->setToolTip(hex(colour).toUpper());
}

void CLightControlUI::set_edits(std::string_view red, std::string_view green, std::string_view blue, Rgb c) {
  if (auto* e = control<QLineEdit>(red)) e->setText(QString::number(c.red));
  if (auto* e = control<QLineEdit>(green)) e->setText(QString::number(c.green));
  if (auto* e = control<QLineEdit>(blue)) e->setText(QString::number(c.blue));
}

void CLightControlUI::select_silently(std::string_view name, int index) {
  auto* combo = control<QComboBox>(name);
  if (combo == nullptr) return;
  qxr::ui::select_item(combo, index < combo->count() ? index : -1, false);
}

void CLightControlUI::check_silently(std::string_view name, bool on) {
  auto* box = control<QAbstractButton>(name);
  if (box == nullptr) return;
  qxr::ui::NotifySilencer quiet(box);
  box->setChecked(on);
}

// ---- getters ----

int CLightControlUI::combo_index(std::string_view name) {
  auto* combo = control<QComboBox>(name);
  return combo != nullptr ? combo->currentIndex() : -1;
}

int CLightControlUI::GetSelectedMode() { return combo_index(n::kModeCombo); }
int CLightControlUI::GetCustomMode() { return combo_index(n::kCustomCombo); }
int CLightControlUI::GetSubMode() { return combo_index(n::kSubModeCombo); }

int CLightControlUI::GetBrightness() {
  auto* s = control<QAbstractSlider>(n::kBrightnessSlider);
  return s != nullptr ? s->value() : 0;
}

int CLightControlUI::GetSpeed() {
  auto* s = control<QAbstractSlider>(n::kSpeedSlider);
  return s != nullptr ? s->value() : 0;
}

QString CLightControlUI::edit_text(std::string_view name) {
  auto* e = control<QLineEdit>(name);
  return e != nullptr ? e->text() : QString();
}

QString CLightControlUI::GetRedText() { return edit_text(n::kRedEdit); }
QString CLightControlUI::GetGreenText() { return edit_text(n::kGreenEdit); }
QString CLightControlUI::GetBlueText() { return edit_text(n::kBlueEdit); }

uint32_t CLightControlUI::GetPaletteColour() {
  auto* palette = control<CColorPaletteUI>(n::kPalette);
  if (palette == nullptr) return kOpaque;
  return kOpaque | (palette->color().rgb() & 0x00FFFFFFu);
}

int CLightControlUI::GetSevenColour() {
  auto* box = control<QAbstractButton>(n::kSevenColourCheck);
  return box != nullptr && box->isChecked() ? 1 : 0;
}

int CLightControlUI::GetDirection() {
  auto* box = control<QAbstractButton>(n::kDirectionFirst);
  return box != nullptr && box->isChecked() ? 1 : 0;
}

uint32_t CLightControlUI::preset_colour(std::string_view prefix, int index) {
  QWidget* w = control(qxr::ui::indexed_name(qname(prefix), index).toStdString());
  if (w == nullptr) return 0;
  const QColor c = qxr::ui::parse_skin_colour(w->property(n::kPresetColourAttribute.data()).toString());
  return c.isValid() ? kOpaque | (c.rgb() & 0x00FFFFFFu) : 0;
}

uint32_t CLightControlUI::GetPresetColour(int index) { return preset_colour(n::kPresetPrefix, index); }
uint32_t CLightControlUI::GetAudioPresetColour(int index) { return preset_colour(n::kAudioPresetPrefix, index); }

uint32_t CLightControlUI::GetSwatchColour() {
  QWidget* w = control(n::kSwatch);
  return w != nullptr ? w->property(kSwatchColourProperty).toUInt() : 0;
}

// ---- music ----

void CLightControlUI::show_audio_layout(int audio_mode) {
  const bool on = audio_colours_enabled(audio_mode);
  control(n::kAudioColourLayout)->setEnabled(on);
  control(n::kAudioPaletteLayout)->setEnabled(on);
}

void CLightControlUI::SetAudioLight(const qxr::AudioLightInfo& audio) {
  for (std::string_view name :
       {n::kAudioModeCombo, n::kAudioForegroundCheck, n::kAudioBackgroundCheck, n::kAudioSevenColourCheck,
        n::kAudioRedEdit, n::kAudioGreenEdit, n::kAudioBlueEdit, n::kAudioPalette, n::kAudioSwatch,
        n::kAudioColourLayout, n::kAudioPaletteLayout}) {
    if (control(name) == nullptr) throw LightControlError(kSetAudioLightError);
  }
  audio_ = audio;
  select_silently(n::kAudioModeCombo, audio.audio_mode);
  const bool foreground = audio.color_type_flags == kShowForeground;
  check_silently(foreground ? n::kAudioForegroundCheck : n::kAudioBackgroundCheck, true);
  // The box follows the record whichever colour is shown, or a later commit would write back a
  // stale flag.
  check_silently(n::kAudioSevenColourCheck, audio.seven_color_flags != 0);
  ShowAudioColour(shown_audio_colour(audio));
  show_audio_layout(audio.audio_mode);
}

qxr::AudioLightInfo CLightControlUI::GetAudioLight(bool take_swatch_colour) {
  auto* combo = control<QComboBox>(n::kAudioModeCombo);
  auto* seven = control<QAbstractButton>(n::kAudioSevenColourCheck);
  auto* background = control<QAbstractButton>(n::kAudioBackgroundCheck);
  auto* foreground = control<QAbstractButton>(n::kAudioForegroundCheck);
  QWidget* swatch = control(n::kAudioSwatch);
  if (combo == nullptr || seven == nullptr || background == nullptr || foreground == nullptr ||
      (take_swatch_colour && swatch == nullptr)) {
    throw LightControlError(kGetAudioLightError);
  }
  AudioControls c;
  c.mode = std::max(combo->currentIndex(), 0);
  c.seven_colour = seven->isChecked();
  c.background_selected = background->isChecked();
  c.foreground_selected = foreground->isChecked();
  std::optional<Rgb> colour;
  if (take_swatch_colour) colour = rgb_of_toolkit_colour(swatch->property(kSwatchColourProperty).toUInt());
  audio_ = read_audio_record(audio_, c, colour);
  return audio_;
}
