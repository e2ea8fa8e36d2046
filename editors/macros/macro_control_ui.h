#pragma once
// CMacroControlUI, the macro panel of the keyboard and mouse pages. Its children come from its
// own skin ("MacroControl.ui"): the device's macro list, the selected macro's event rows, the
// recorder and the row tools. The files are the truth: every change is written at once
// (macro_folder.h), the rows of the selected macro on Save or after each row tool.
//
// Recording takes what reaches the panel's window while it is the active window: every key
// (swallowed, so no shortcut or edit acts on it) and the mouse buttons. When the window loses
// the focus the recorder pauses, so nothing typed elsewhere (a password) ends up in a macro.
#include <QHBoxLayout>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <string>
#include <string_view>

#include "core/clock.h"
#include "editors/macros/macro_events.h"
#include "editors/macros/macro_folder.h"
#include "editors/macros/macro_recorder.h"
#include "ui/control_cache.h"
#include "ui/lazy_skin.h"
#include "ui/skin_control.h"

class QListWidget;
class QTableView;
class QWindow;

namespace qxr::editors::macros {
class MacroEventModel;
}

class CMacroControlUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr const char* kClassName = "CMacroControlUI";
  static constexpr const char* kShortName = "MacroControl";
  static constexpr const char* kDefaultSkin = "MacroControl.ui";
  static constexpr int kItemHeight = 30;
  static constexpr int kScrollTimerMs = 50;

  explicit CMacroControlUI(QWidget* parent = nullptr);
  ~CMacroControlUI() override;

  QString className() const override { return QString::fromLatin1(kShortName); }
  // "skinfile": the skin the children come from.
  bool set_attribute(const QString& name, const QVariant& value) override;

  // Builds the children and finds the controls (once). False when the skin cannot be built.
  bool InitControls();
  QWidget* control(std::string_view name);
  template <typename T>
  T* control(std::string_view name) {
    return qobject_cast<T*>(control(name));
  }

  // The device folder (ending in a separator) and its list.
  void SetMacroFolder(const std::string& folder);
  void LoadMacroList();
  const qxr::editors::macros::MacroFolder& folder() const { return folder_; }

  std::optional<size_t> selected_macro() const;
  void SelectMacro(std::optional<size_t> index);
  // The selected macro's rows from its file (unsaved edits dropped); none selected: no rows.
  void ShowSelectedMacro();

  using MacroChange = qxr::editors::macros::MacroChange;
  MacroChange AddMacro(size_t* index = nullptr);
  // The selected macro goes; its index, or nothing when none was selected or it stayed.
  std::optional<size_t> DeleteSelectedMacro();
  // The name edit's text becomes the selected macro's name.
  MacroChange RenameSelectedMacro(size_t* index = nullptr);
  // The rows to the selected macro's file; false when none is selected or it was not written.
  bool SaveSelectedMacro();
  MacroChange ImportMacro(const std::string& path, qxr::MacroImportCheck* check = nullptr, size_t* index = nullptr);
  MacroChange ExportMacro(const std::string& path) const;

  const qxr::editors::macros::MacroEventList& events() const { return events_; }
  qxr::editors::macros::MacroEventList& events() { return events_; }
  void SelectRow(std::optional<size_t> row);
  // The list changed: the table follows, the selected row in view.
  void RowsChanged();
  // A mouse row after the selected row, with the fixed delay; moves take their distance from
  // their edit.
  void InsertMouseEvent(qxr::editors::macros::MouseInput input);

  // The fixed delay edit's value, clamped to 0-65535 (the edit shows what is used).
  uint16_t fixed_delay();
  bool fixed_delay_checked();

  void StartRecording(qxr::editors::macros::DelayMode mode,
                      qxr::editors::macros::RecordPlace place = qxr::editors::macros::RecordPlace::Append);
  void StopRecording();
  bool recording() const { return recorder_.recording(); }
  bool recording_paused() const { return recorder_.paused(); }

  // Recording input, as the window delivers it (tests call these too). True when a row changed.
  bool RecordKey(uint32_t native_scan_code, bool down);
  bool RecordMouse(Qt::MouseButton button, bool down, const QPoint& global_position);
  // The window became active or inactive.
  void SetWindowActive(bool active);

  // Time source of the recorder (tests).
  void set_clock(qxr::Clock& clock) { clock_ = &clock; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void set_editing_enabled(bool on);
  void show_recording_state(bool on);
  QString qname(std::string_view name) const;

  QHBoxLayout* layout_;
  QWidget* content_ = nullptr;
  qxr::ui::LazySkin skin_{kDefaultSkin, "macro panel"};
  qxr::ui::ControlCache cache_;
  QPointer<QListWidget> names_;
  QPointer<QTableView> table_;
  qxr::editors::macros::MacroEventModel* model_ = nullptr;

  qxr::editors::macros::MacroFolder folder_;
  qxr::editors::macros::MacroEventList events_;
  qxr::editors::macros::MacroRecorder recorder_;
  uint16_t fixed_delay_ms_ = 0;
  qxr::Clock* clock_ = &qxr::system_clock();
  QPointer<QWindow> recorded_window_;
};
