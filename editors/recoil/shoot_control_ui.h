#pragma once
// CShootControlUI, the recoil panel of the mouse page. Its children come from its own skin
// ("ShootControl.ui"): four gun options with one picture each, the 30-bullet grid and the
// selected bullet's pulls, directions and delay. The script files are the truth: every bullet
// change is written at once (recoil_folder.h) and the view is read back from the file.
#include <QHBoxLayout>
#include <QPointer>
#include <QWidget>

#include <string>
#include <string_view>

#include "editors/recoil/recoil_folder.h"
#include "ui/control_cache.h"
#include "ui/lazy_skin.h"
#include "ui/skin_control.h"

class CShootControlUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr const char* kClassName = "CShootControlUI";
  static constexpr const char* kShortName = "ShootControl";
  static constexpr const char* kDefaultSkin = "ShootControl.ui";

  using RecoilChange = qxr::editors::recoil::RecoilChange;

  explicit CShootControlUI(QWidget* parent = nullptr);

  QString className() const override { return QString::fromLatin1(kShortName); }
  // "skinfile": the skin the children come from.
  bool set_attribute(const QString& name, const QVariant& value) override;

  // Builds the children and finds the controls (once), then InitShootPanel. False when the
  // skin cannot be built.
  bool InitControls();
  // Every control the panel works with was found.
  bool controls_found() const { return controls_found_; }
  QWidget* control(std::string_view name);
  template <typename T>
  T* control(std::string_view name) {
    return qobject_cast<T*>(control(name));
  }

  void SetScriptFolder(const std::string& folder);
  void SetDefaultScriptFolder(const std::string& folder);
  const qxr::editors::recoil::RecoilFolder& folder() const { return folder_; }
  // Every gun's script made readable (from the factory where needed), then gun 0, bullet 0.
  void InitShootPanel();

  int current_gun() const { return gun_; }
  // -1 until a bullet was selected.
  int current_bullet() const { return bullet_; }
  // Gun n (clamped) becomes current: its option and its picture. ShowBullet follows.
  void SelectGun(int gun);
  // Bullet n (clamped) becomes current and is shown.
  void SelectBullet(int bullet);
  void PreviousBullet() { SelectBullet(bullet_ - 1); }
  void NextBullet() { SelectBullet(bullet_ + 1); }
  // The current bullet of the current gun's script on the edits, options and picture.
  void ShowBullet();
  // The edits (clamped, the clamped value shown) and options into the current bullet's file.
  RecoilChange StoreBullet();
  // Stores what the user changed since the bullet was shown, if anything: an edit still being
  // typed in when the panel moves to another bullet or gun, or the scripts leave it.
  RecoilChange StoreBulletIfEdited();
  // The direction options' labels follow their state.
  void RelabelHorizontal();
  void RelabelVertical();

  RecoilChange ResetGun(int gun);
  RecoilChange ImportGun(const std::string& path, qxr::MacroImportCheck* check = nullptr);
  RecoilChange ExportGun(const std::string& path);

  // The last send's outcome beside the send button; cleared by the next change.
  void ShowSendResult(bool sent);

 protected:
  bool event(QEvent* event) override;

 private:
  // The edits and options as they stand, without touching them.
  qxr::RecoilBullet edited_bullet();
  void show_status(std::string_view key);
  QString qname(std::string_view name) const;

  QHBoxLayout* layout_;
  QWidget* content_ = nullptr;
  qxr::ui::LazySkin skin_{kDefaultSkin, "recoil panel"};
  bool controls_found_ = false;
  qxr::ui::ControlCache cache_;

  qxr::editors::recoil::RecoilFolder folder_;
  int gun_ = 0;
  int bullet_ = -1;
  // What ShowBullet put on the controls.
  qxr::RecoilBullet shown_;
};
