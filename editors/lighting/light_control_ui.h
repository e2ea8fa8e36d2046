#pragma once
// CLightControlUI: the lighting panel of a device page. A horizontal container whose children
// come from its own skin ("LightControl.ui", or the file its "skinfile" attribute names),
// built on first use; controls are looked up by name once and kept.
//
// The panel shows a lighting record (ShowLight) and the music record (SetAudioLight), switches
// its parameter groups by the layout tables, and answers what its controls hold. It never
// talks to a device: the lighting editor (light_editor.h) reads it and commits the changes.
#include <QHBoxLayout>
#include <QWidget>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "editors/lighting/light_layout.h"
#include "editors/lighting/light_words.h"
#include "profile/records.h"
#include "ui/control_cache.h"
#include "ui/lazy_skin.h"
#include "ui/skin_control.h"

class QComboBox;
class QLineEdit;
class QAbstractButton;
class QAbstractSlider;
class CColorPaletteUI;

// What SetAudioLight and GetAudioLight raise when the skin lacks one of the music controls.
class LightControlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
inline constexpr const char* kSetAudioLightError = " SetAudioLightInfo control is NULL";
inline constexpr const char* kGetAudioLightError = "GetAudioLightInfo control is NULL";

class CLightControlUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr const char* kClassName = "CLightControlUI";
  static constexpr const char* kShortName = "LightControl";
  static constexpr const char* kDefaultSkin = "LightControl.ui";
  // Height of one item of the mode list.
  static constexpr int kModeItemHeight = 30;
  static constexpr int kDefaultLevelMaximum = 4;

  explicit CLightControlUI(QWidget* parent = nullptr);
  ~CLightControlUI() override;

  QString className() const override { return QString::fromLatin1(kShortName); }
  // "skinfile": the skin the children come from.
  bool set_attribute(const QString& name, const QVariant& value) override;

  // Builds the children (once). False when the skin cannot be built.
  bool ensure_built();
  bool built() const { return content_ != nullptr; }
  QWidget* content() const { return content_; }
  // A control of the panel by name (cached); nullptr when the skin has none.
  QWidget* control(std::string_view name);
  template <typename T>
  T* control(std::string_view name) {
    return qobject_cast<T*>(control(name));
  }

  // --- what the page and the editor call ---
  void SetDeviceKind(int kind);
  int device_kind() const { return kind_; }
  // One item per name (text through the language texts, user data the name, hidden unless
  // its flag is set), then the maxima of the brightness and speed sliders.
  void FillModes(const std::vector<std::string>& names, const std::vector<bool>& visible, int brightness_max,
                 int speed_max);
  // The names FillModes last put in the list.
  const std::vector<std::string>& mode_names() const { return mode_names_; }
  const std::vector<bool>& mode_visible() const { return mode_visible_; }
  // Word A and word B of a lighting record (light_words.h); nothing is notified.
  void ShowLight(uint32_t word_a, uint32_t word_b);
  void ShowLight(const qxr::LightInfo& light);
  // Enables, disables, shows and hides the groups for mode on this panel's kind.
  void ApplyLayout(int mode);
  void SetSameModeAvailable(bool available);
  bool same_mode_available() const { return same_mode_available_; }

  // Getters: -1 for a missing combo, 0 for a missing slider or box, empty for a missing edit,
  // 0xFF000000 for a missing palette, 0 for a missing preset button.
  int GetSelectedMode();
  int GetCustomMode();
  int GetSubMode();
  int GetBrightness();
  int GetSpeed();
  QString GetRedText();
  QString GetGreenText();
  QString GetBlueText();
  uint32_t GetPaletteColour();
  int GetSevenColour();
  // 1 while the first direction box is selected, 0 otherwise.
  int GetDirection();
  uint32_t GetPresetColour(int n);
  uint32_t GetAudioPresetColour(int n);
  uint32_t GetSwatchColour();

  // The music record: stored and shown; a skin without the music controls raises
  // LightControlError.
  void SetAudioLight(const qxr::AudioLightInfo& audio);
  qxr::AudioLightInfo GetAudioLight(bool take_swatch_colour);
  const qxr::AudioLightInfo& audio_light() const { return audio_; }

  // --- pieces the editor uses after a commit (nothing is notified) ---
  // Edits, palette and swatch show colour.
  void ShowColour(qxr::editors::Rgb colour);
  void ShowSevenColour(bool on);
  void SelectCustomGroup(int group);
  void SelectSubMode(int sub_mode);
  // The music edits, palette and swatch show colour.
  void ShowAudioColour(qxr::editors::Rgb colour);
  // The swatch alone, while the palette is dragged.
  void PreviewColour(qxr::editors::Rgb colour);

 protected:
  bool event(QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void prepare_controls();
  void paint_presets(std::string_view prefix);
  void apply_plan(const qxr::editors::LayoutPlan& plan);
  void show_audio_layout(int audio_mode);
  void set_swatch(std::string_view name, qxr::editors::Rgb colour);
  void set_edits(std::string_view red, std::string_view green, std::string_view blue, qxr::editors::Rgb colour);
  QString edit_text(std::string_view name);
  int combo_index(std::string_view name);
  void select_silently(std::string_view combo, int index);
  void check_silently(std::string_view name, bool on);
  uint32_t preset_colour(std::string_view prefix, int n);

  QHBoxLayout* layout_;
  QWidget* content_ = nullptr;
  qxr::ui::ControlCache cache_;
  qxr::ui::LazySkin skin_{kDefaultSkin, "lighting panel"};
  int kind_ = 0;
  bool same_mode_available_ = false;
  int shown_mode_ = -1;
  std::vector<std::string> mode_names_;
  std::vector<bool> mode_visible_;
  qxr::AudioLightInfo audio_;
};
