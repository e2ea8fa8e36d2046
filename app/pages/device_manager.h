#pragma once
// The part of the main window that knows which devices exist: one page and one list entry per
// device model, built at start before any device is seen; the discovery thread's arrivals and
// removals (forwarded to the UI thread) connect and disconnect the pages and keep the list,
// the no-device notice and the selected page consistent.
#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

#include "app/pages/device_models.h"
#include "app/pages/entry_rules.h"
#include "app/pages/ui_mailbox.h"
// The discovery's slots() collides with Qt's "slots" keyword macro.
#pragma push_macro("slots")
#undef slots
#include "hid/discovery.h"
#pragma pop_macro("slots")

class CDeviceOptionUI;
class CMpDevicePowerUI;
class QStackedWidget;
class QWidget;

namespace qxr::devices {
class CMarluneUSBDevice;
}

namespace qxr::app {

class DevicePageWidget;
class PageOwner;

// The controls of the main window the manager works with.
struct ManagerControls {
  QWidget* entry_list = nullptr;        // "device_select_layout"
  QStackedWidget* pages = nullptr;      // "device_switch"
  QStackedWidget* power_pages = nullptr;  // "device_power_switch"
  QWidget* notice = nullptr;            // "No_device_Link"
};

class DeviceManager : public QObject, public hid::DiscoveryObserver {
  Q_OBJECT
 public:
  struct Model {
    size_t row = 0;
    QPointer<DevicePageWidget> page;
    QPointer<CDeviceOptionUI> entry;
    QPointer<CMpDevicePowerUI> power;
  };

  explicit DeviceManager(QObject* parent = nullptr);
  ~DeviceManager() override;

  // Builds the pages and entries of every model row (all hidden). A row whose page cannot be
  // built gets neither page nor entry.
  void init_devices(const ManagerControls& controls, PageOwner* owner);
  // May start before init_devices: its news waits in the mailbox until the pages are built.
  bool start_discovery();
  WorkerThread::StopOutcome stop_discovery();
  hid::Discovery* discovery() { return discovery_.get(); }

  // UI thread: the handlers of the discovery thread's arrivals and removals. slot is the slot
  // as it was announced; waited_ms is how long ago it was seen, counted into the connect delay.
  void on_arrived(size_t slot_index, const hid::DeviceSlot& slot, int waited_ms = 0);
  void on_removed(size_t slot_index, const hid::DeviceSlot& slot);

  void show_entry(int index, bool visible, bool select);
  void hide_entry(int index);
  // The user picked an entry (its "device_select").
  void entry_picked(CDeviceOptionUI* entry);
  // The user (un)marked an entry for synchronised lighting.
  void synchro_changed();

  void set_host_lighting_all(bool on);
  void set_ui_flag_all(bool on);
  FirstConnected first_connected() const;

  const std::vector<Model>& models() const { return models_; }
  DevicePageWidget* selected_page() const;
  int selected_entry() const;
  int entry_index(const CDeviceOptionUI* entry) const;
  int page_entry(const DevicePageWidget* page) const;
  std::vector<EntryState> entry_states() const;
  // Pages marked for synchronised lighting (only while more than one device is visible).
  std::vector<DevicePageWidget*> synchronised_pages() const;

  // --- hid::DiscoveryObserver (discovery thread) ---
  void on_device_arrived(size_t slot_index) override;
  void on_device_removed(size_t slot_index) override;
  void on_first_pass() override;

 signals:
  // After any arrival: the window comes to the front.
  void device_arrived();
  // The discovery's first complete pass.
  void first_pass_done();
  // The selection or the visible entries changed.
  void entries_changed();

 private:
  // Discovery runs on its own thread; its news reaches the UI thread through here.
  UiMailbox* mailbox_ = new UiMailbox(this);
  Model* page_for_slot(const hid::DeviceSlot& slot);
  // The device whose secondary interface slot is (opened: it is open now, else it is not).
  devices::CMarluneUSBDevice* secondary_owner(const hid::DeviceSlot& slot, bool opened);
  void apply_verdict();

  ManagerControls controls_;
  // "No device" is said only once discovery has looked everywhere.
  bool first_pass_seen_ = false;
  std::vector<Model> models_;
  std::unique_ptr<hid::Discovery> discovery_;
};

}  // namespace qxr::app
