#pragma once
// One row of the settings window's update list: the product, its installed and offered
// versions, a check box to choose it, and the state of its update (update/update_states.h).
#include <QString>
#include <QWidget>

#include "ui/skin_control.h"

class QAbstractButton;
class QLabel;

namespace qxr::app {
inline constexpr char kUpdateListItemSkin[] = "device_Update_list_item.xml";
}

class CUpdateInfoListItemUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr int kRowHeight = 50;

  explicit CUpdateInfoListItemUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("UpdateInfoListItem"); }
  bool set_attribute(const QString&, const QVariant&) override { return false; }
  bool loaded() const { return content_ != nullptr; }

  // Setting the state the row has does nothing; a state that shows progress starts at 0 %.
  // States outside 0..8 are refused.
  void SetState(int state);
  int GetState() const { return state_; }
  // The state lets the user choose the row for updating.
  bool CanUpdate() const;

  void SetName(const QString& name);
  QString GetName() const;
  void SetOldVersion(const QString& text);  // "OldRev"
  void SetNewVersion(const QString& text);  // "updateRev"
  QString GetOldVersion() const;
  QString GetNewVersion() const;
  // "update_progress_value": percent written "%d%s".
  void SetProgress(int percent);
  int GetProgress() const { return progress_; }

  // "check_name_select"; only a row that can be updated can be selected.
  bool IsSelected() const;
  void SetSelected(bool selected);

  // The row's user data: where the offered version is downloaded.
  void SetUserData(const QString& path) { user_data_ = path; }
  const QString& GetUserData() const { return user_data_; }

 private:
  void show_state();

  QWidget* content_ = nullptr;
  QAbstractButton* select_ = nullptr;
  QLabel* name_ = nullptr;
  QLabel* old_rev_ = nullptr;
  QLabel* new_rev_ = nullptr;
  QLabel* status_text_ = nullptr;
  QWidget* status_ing_ = nullptr;
  QLabel* progress_value_ = nullptr;
  QWidget* status_ok_ = nullptr;
  int state_ = -1;
  int progress_ = 0;
  QString user_data_;
};
