#pragma once
// The profile panel of a device page: the profile drop-down, the name edit, the buttons that
// add, copy, rename, delete, reset, import and export profiles, and the page's option tabs.
// The list file is the profile list's; the panel only mirrors it in the drop-down.
#include <QString>
#include <QWidget>

#include "profile/option_tabs.h"
#include "profile/profile_list.h"
#include "ui/skin_control.h"

class QComboBox;
class QLineEdit;

class CDeviceProfileUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  explicit CDeviceProfileUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("DeviceProfile"); }
  bool set_attribute(const QString&, const QVariant&) override { return false; }
  bool loaded() const { return content_ != nullptr; }

  void SetDeviceKind(int kind);
  int device_kind() const { return kind_; }
  // device_folder ends with '/'.
  void SetFolders(const QString& device_folder, const QString& default_profile);
  void InitProfileList();

  // Selects item index; the drop-down notifies only when notify is set.
  void SelectProfile(int index, bool notify);
  QString GetCurrentProfileId() const;
  int GetSelectedIndex() const;
  // The drop-down's own index (what the user picked last).
  int combo_index() const;
  QStringList names() const;

  QString GetNameEditText() const;
  void SetNameEditText(const QString& text);
  void SetMenuVisible(bool on);
  bool IsMenuVisible() const;

  void AddProfile();
  void DeleteProfile();
  void CopyProfile();
  // kRenameDone, kRenameNameInUse or kRenameBlank; kRenameNameInUse also without a drop-down.
  int RenameProfile(const QString& name);
  void ResetProfile();
  void ImportProfile(const QString& path);
  void ExportProfile(const QString& path);

  // Tab index 0-7 in the order of the option tabs; others change nothing.
  void SelectOptionTab(int index);
  int selected_option_tab() const;

  const qxr::ProfileList& list() const { return list_; }
  QString list_file() const;

 private:
  void refill();
  void mark_tab_ends();
  QWidget* find(const char* name) const;

  QWidget* content_ = nullptr;
  QComboBox* combo_ = nullptr;
  QLineEdit* name_edit_ = nullptr;
  QWidget* menu_ = nullptr;
  int kind_ = 0;
  qxr::OptionTabRule tabs_;
  qxr::ProfileList list_;
};
