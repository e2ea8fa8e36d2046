#pragma once
// The music style window: four named colour styles (0-9 per channel) for the recorder, one of
// them selected. Choosing a tab selects that style and shows its colour; a slider move stores
// the channel into the selected style; leaving a name edit stores the name (an empty one
// becomes the style's default name again). "okbtn" closes with result 1, the close button with
// 0. The level display shows the recorder's spectrum blocks while the window is open.
#include <array>

#include "profile/audio_file.h"
#include "ui/skin_window.h"

class CAudioRecordUI;

class MusicWnd : public qxr::ui::SkinWindow {
  Q_OBJECT
 public:
  static constexpr int kResultOk = 1;

  explicit MusicWnd(const qxr::AudioStyles& styles, QWidget* parent = nullptr);

  const qxr::AudioStyles& styles() const { return styles_; }
  CAudioRecordUI* level_display();

 protected:
  void on_notify(const qxr::ui::Notification& n) override;

 private:
  void show_selected();
  void take_name(int style);

  qxr::AudioStyles styles_;
};
