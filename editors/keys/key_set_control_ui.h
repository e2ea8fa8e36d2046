#pragma once
// CKeySetControlUI, the key-assignment panel of the keyboard and mouse pages. Its children come
// from its own skin ("KeySetControl.ui"); it shows the selected key's record in the controls of
// the record's function group and reads a record back from them (key_panel_model.h holds the
// rules). While the key text has the focus it takes the keys pressed in the window itself:
// Enter, Esc, Tab and a modifier alone are keys to assign like any other, and capture ends only
// when the focus goes. Keys the desktop keeps for itself can be picked by typing their name.
#include <QHBoxLayout>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "editors/keys/key_panel_model.h"
#include "ui/control_cache.h"
#include "ui/lazy_skin.h"
#include "ui/skin_control.h"

class QCompleter;
class QLineEdit;

class CKeySetControlUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr const char* kClassName = "CKeySetControlUI";
  static constexpr const char* kShortName = "KeySetControl";
  static constexpr const char* kDefaultSkin = "KeySetControl.ui";

  explicit CKeySetControlUI(QWidget* parent = nullptr);
  ~CKeySetControlUI() override;

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

  // Kind 1 (keyboard): the DPI and gun-key groups are not offered.
  void SetDeviceKind(int kind);
  int device_kind() const { return kind_; }

  // The macro list: appended to (FillMacroList), replaced (SetMacroList), or kept in step with
  // the macro editor; an index of -1 or an empty name changes nothing.
  void FillMacroList(const std::vector<std::string>& names);
  void SetMacroList(const std::vector<std::string>& names);
  void AddMacroItem(const std::string& name);
  void RemoveMacroItem(int index);
  void RenameMacroItem(int index, const std::string& name);

  // The selected key's records; the current one is shown.
  void SetAssignments(const qxr::KeyAssignment& current, const qxr::KeyAssignment& defaults);
  void ShowDefault();
  void ShowCurrent();
  void StoreCurrent(const qxr::KeyAssignment& record) { current_ = record; }
  const qxr::KeyAssignment& current() const { return current_; }
  const qxr::KeyAssignment& default_record() const { return default_; }
  // The controls' record, stored as the current one.
  qxr::KeyAssignment ReadAssignment();
  void ShowAssignment(const qxr::KeyAssignment& record);

  void SetModifierCheck(int box);
  int GetModifierCheck();
  void SetButtonsEnabled(bool on);
  // The name key's text in the key text (its language's).
  void ShowKeyName(std::string_view name_key);

  // The function combo's choice: its page shows; the keyboard group starts without key.
  void SelectGroup();
  int selected_group();
  // The play mode combo's choice: the repeat count shows for "repeat".
  void ShowMacroRepeat();
  // Whether the editor is shown (a record the panel cannot show hides it).
  bool editable();

  // Keyboard-table entry k captured or picked by name: boxes and key text follow, the record to
  // apply is stored, and entry_taken runs (the page applies the record).
  void TakeKeyEntry(size_t k);
  std::function<void()> entry_taken;
  bool capturing() const { return capturing_; }

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  qxr::editors::keys::KeyPanelView view();
  void show(const qxr::editors::keys::KeyPanelView& v);
  void select_group_item(int group);
  void fill_name_search();
  int macro_count();

  QHBoxLayout* layout_;
  QWidget* content_ = nullptr;
  qxr::ui::LazySkin skin_{kDefaultSkin, "key panel"};
  qxr::ui::ControlCache cache_;
  int kind_ = 0;
  std::set<int> hidden_groups_;
  qxr::KeyAssignment current_{};
  qxr::KeyAssignment default_{};
  bool capturing_ = false;
  QPointer<QLineEdit> key_text_;
  QCompleter* completer_ = nullptr;
};
