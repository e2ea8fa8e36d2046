#include "editors/lighting/light_editor.h"

#include <QLineEdit>

#include "core/debug_line.h"
#include "devices/lighting/keyboard_modes.h"
#include "editors/lighting/colour_palette.h"
#include "editors/lighting/light_control_names.h"

namespace qxr::editors {
namespace {

namespace n = names;
using enum LightAction;

std::string_view edit_of(LightAction action) {
  switch (action) {
    case EditRed:
      return n::kRedEdit;
    case EditGreen:
      return n::kGreenEdit;
    case EditBlue:
      return n::kBlueEdit;
    case AudioEditRed:
      return n::kAudioRedEdit;
    case AudioEditGreen:
      return n::kAudioGreenEdit;
    default:
      return n::kAudioBlueEdit;
  }
}

uint8_t channel_of(const LightInfo& l, LightAction action) {
  switch (action) {
    case EditRed:
      return l.red;
    case EditGreen:
      return l.green;
    default:
      return l.blue;
  }
}

// The clamped value of a colour edit, written back into the edit; nothing without the edit.
std::optional<ClampedColour> commit_edit(CLightControlUI& panel, std::string_view name, bool* changed_text) {
  auto* edit = panel.control<QLineEdit>(name);
  if (edit == nullptr) return std::nullopt;
  const QString typed = edit->text();
  ClampedColour c = clamp_colour_text(typed.toStdString());
  const QString shown = QString::fromStdString(c.text);
  *changed_text = typed != shown;
  if (*changed_text) edit->setText(shown);
  return c;
}

bool is_keyboard(const LightTarget& target) { return uses_keyboard_modes(target.kind()); }

void report(const LightControlError& e) { debug_line(e.what()); }

}  // namespace

void LightEditor::Commit(CLightControlUI& panel, LightTarget& target, const LightChange& change) {
  target.set_synchronised(false);
  std::optional<LightInfo> next = apply_light_change(target.light_info(), change);
  if (!next) return;
  target.commit_light(*next);
  panel.ShowLight(*next);
}

bool LightEditor::CommitAudio(CLightControlUI& panel, LightTarget& target, bool take_swatch_colour) {
  try {
    const AudioLightInfo audio = panel.GetAudioLight(take_swatch_colour);
    target.commit_audio(audio);
    panel.SetAudioLight(audio);
    return true;
  } catch (const LightControlError& e) {
    report(e);
    return false;
  }
}

bool LightEditor::CommitAudioChange(CLightControlUI& panel, LightTarget& target, const LightChange& change) {
  try {
    std::optional<AudioLightInfo> audio = apply_audio_change(panel.GetAudioLight(false), change);
    if (!audio) return false;
    target.commit_audio(*audio);
    panel.SetAudioLight(*audio);
    return true;
  } catch (const LightControlError& e) {
    report(e);
    return false;
  }
}

int LightEditor::SameModeCopy(LightTarget& target, const LightEditorHooks& hooks, CLightControlUI* panel) {
  std::optional<SharedLight> shared = shared_light_from(target.kind(), target.light_info());
  if (!shared) return 0;
  std::vector<LightPanelBinding> all;
  if (hooks.devices) {
    all = hooks.devices();
  } else {
    all.push_back({panel, &target});
  }
  std::vector<LightPanelBinding> connected;
  std::vector<int> kinds;
  for (const LightPanelBinding& b : all) {
    if (b.target == nullptr || !b.target->connected()) continue;
    connected.push_back(b);
    kinds.push_back(b.target->kind());
  }
  int copied = 0;
  for (size_t i : same_mode_order(kinds)) {
    const LightPanelBinding& b = connected[i];
    const LightInfo record = same_mode_record(kinds[i], b.target->light_info(), *shared);
    b.target->set_synchronised(true);
    b.target->commit_light(record);
    if (b.panel != nullptr) b.panel->ShowLight(record);
    ++copied;
  }
  // Told once every device is marked, so the synchronised lighting finds them all.
  if (hooks.shared_light) hooks.shared_light(*shared);
  return copied;
}

bool LightEditor::UpdateSameModeAvailability(std::span<const LightPanelBinding> devices) {
  int connected = 0;
  for (const LightPanelBinding& b : devices) {
    if (b.target != nullptr && b.target->connected()) ++connected;
  }
  const bool available = connected > 1;
  for (const LightPanelBinding& b : devices) {
    if (b.panel != nullptr) b.panel->SetSameModeAvailable(available);
  }
  return available;
}

void LightEditor::ShowDevice(CLightControlUI& panel, LightTarget& target, const LightInfo& light,
                             const AudioLightInfo& music) {
  const ModeCatalogue catalogue = target.mode_catalogue();
  if (!catalogue.names.empty() &&
      (catalogue.names != panel.mode_names() || catalogue.visible != panel.mode_visible())) {
    panel.FillModes(catalogue.names, catalogue.visible, kMaxLevel, kMaxLevel);
  }
  panel.ShowLight(light);
  if (!is_keyboard(target)) return;
  // The keyboard's own bytes: without them the sub-mode and group boxes would show the skin's
  // first items rather than what the keyboard runs.
  panel.SelectSubMode(light.zzcc_led_mode);
  panel.SelectCustomGroup(light.custom_group);
  if (!target.has_music()) return;
  try {
    panel.SetAudioLight(music);
  } catch (const LightControlError& e) {
    report(e);
  }
}

bool LightEditor::Notify(CLightControlUI& panel, LightTarget& target, const ui::Notification& note,
                         const LightEditorHooks& hooks) {
  std::optional<LightRoute> route = find_light_route(note.type.toStdString(), note.sender_name.toStdString());
  if (!route) return false;
  const LightAction action = route->action;
  if (is_audio_action(action) && !target.has_music()) return true;

  switch (action) {
    case SelectMode: {
      const int mode = panel.GetSelectedMode();
      if (mode < 0) break;
      panel.ApplyLayout(mode);
      Commit(panel, target, {SelectMode, mode});
      break;
    }
    case Brightness:
      Commit(panel, target, {Brightness, panel.GetBrightness()});
      break;
    case Speed:
      Commit(panel, target, {Speed, panel.GetSpeed()});
      break;
    case DirectionFirst:
    case DirectionSecond:
      // Option boxes report the one that became selected.
      if (note.param1 != 0) Commit(panel, target, {action});
      break;
    case SevenColour:
      Commit(panel, target, {SevenColour, panel.GetSevenColour()});
      break;
    case EditRed:
    case EditGreen:
    case EditBlue: {
      bool corrected = false;
      std::optional<ClampedColour> c = commit_edit(panel, edit_of(action), &corrected);
      if (!c) break;
      // Leaving an edit without changing it changes nothing, not even the seven-colour flag.
      if (!corrected && c->value == channel_of(target.light_info(), action)) break;
      Commit(panel, target, {action, c->value});
      break;
    }
    case PaletteColour:
      Commit(panel, target, {PaletteColour, 0, rgb_of_toolkit_colour(panel.GetPaletteColour())});
      break;
    case PresetColour: {
      const uint32_t colour = panel.GetPresetColour(route->index);
      if (colour != 0) Commit(panel, target, {PresetColour, 0, rgb_of_toolkit_colour(colour)});
      break;
    }
    case SubMode:
      if (is_keyboard(target) && panel.GetSubMode() >= 0) Commit(panel, target, {SubMode, panel.GetSubMode()});
      break;
    case CustomGroup:
      if (is_keyboard(target) && panel.GetCustomMode() >= 0) {
        Commit(panel, target, {CustomGroup, panel.GetCustomMode()});
      }
      break;
    case PaintLit:
    case PaintOff: {
      if (!is_keyboard(target) || target.light_info().select_item != lighting::kModeCustom) break;
      const std::vector<int> keys = hooks.selected_keys ? hooks.selected_keys() : std::vector<int>{};
      if (!keys.empty()) target.paint_keys(keys, action == PaintLit);
      break;
    }
    case SameMode:
      SameModeCopy(target, hooks, &panel);
      break;
    case AudioMode:
    case AudioSevenColour:
      CommitAudio(panel, target, true);
      break;
    case AudioBackground:
    case AudioForeground:
      if (note.param1 != 0) CommitAudio(panel, target, false);
      break;
    case AudioEditRed:
    case AudioEditGreen:
    case AudioEditBlue: {
      bool corrected = false;
      std::optional<ClampedColour> c = commit_edit(panel, edit_of(action), &corrected);
      if (c) CommitAudioChange(panel, target, {action, c->value});
      break;
    }
    case AudioPreset: {
      const uint32_t colour = panel.GetAudioPresetColour(route->index);
      if (colour != 0) CommitAudioChange(panel, target, {AudioPreset, 0, rgb_of_toolkit_colour(colour)});
      break;
    }
    case AudioPalette: {
      auto* palette = panel.control<CColorPaletteUI>(n::kAudioPalette);
      if (palette == nullptr) break;
      const QColor c = palette->color();
      CommitAudioChange(panel, target, {AudioPalette, 0, {uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue())}});
      break;
    }
  }
  return true;
}

}  // namespace qxr::editors
