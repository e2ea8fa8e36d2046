#include "app/pages/device_manager.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QStackedWidget>

#include <algorithm>
#include <chrono>

#include "app/pages/device_option_ui.h"
#include "app/pages/device_page_widget.h"
#include "app/pages/mp_device_power_ui.h"
#include "core/debug_line.h"

namespace qxr::app {
namespace {

// The mouse pad's entry shows the pad with the charger.
constexpr int kPadVariant = 0;

bool same_slot(const hid::DeviceSlot& r, const hid::DeviceSlot& s) {
  return r.vendor_id == s.vendor_id && r.product_id == s.product_id && r.interface_number == s.interface_number &&
         r.collection_number == s.collection_number && r.kind == s.kind && r.role == s.role;
}

}  // namespace

DeviceManager::DeviceManager(QObject* parent) : QObject(parent) {}

DeviceManager::~DeviceManager() { stop_discovery(); }

void DeviceManager::init_devices(const ManagerControls& controls, PageOwner* owner) {
  controls_ = controls;
  const auto kinds = devices::device_kinds();
  models_.clear();
  models_.resize(kinds.size());
  for (size_t row = 0; row < kinds.size(); ++row) models_[row].row = row;

  // Pages and power panels go into their switches at the indices the rows name.
  std::vector<size_t> by_page(kinds.size()), by_power(kinds.size()), by_order(kinds.size());
  for (size_t i = 0; i < by_page.size(); ++i) by_page[i] = by_power[i] = by_order[i] = i;
  auto layout = [&](size_t row) { return kinds[row].layout; };
  std::stable_sort(by_page.begin(), by_page.end(), [&](size_t a, size_t b) { return layout(a).page < layout(b).page; });
  std::stable_sort(by_power.begin(), by_power.end(), [&](size_t a, size_t b) {
    const int pa = layout(a).power_page, pb = layout(b).power_page;
    if ((pa < 0) != (pb < 0)) return pb < 0;
    return pa < pb;
  });
  std::stable_sort(by_order.begin(), by_order.end(), [&](size_t a, size_t b) { return layout(a).order < layout(b).order; });

  for (size_t row : by_page) {
    const devices::KindRow& m = kinds[row];
    auto* page = new DevicePageWidget(row);
    if (!page->loaded()) {
      debug_fmt("page {} could not be built", std::string(m.page_file));
      delete page;
      continue;
    }
    page->set_owner(owner);
    if (controls_.pages != nullptr) controls_.pages->addWidget(page);
    models_[row].page = page;
  }
  for (size_t row : by_power) {
    if (models_[row].page == nullptr) continue;
    auto* power = new CMpDevicePowerUI();
    if (!power->loaded()) {
      delete power;
      continue;
    }
    if (controls_.power_pages != nullptr) controls_.power_pages->addWidget(power);
    models_[row].power = power;
    models_[row].page->attach_power_panel(power);
  }
  QBoxLayout* list = controls_.entry_list != nullptr ? qobject_cast<QBoxLayout*>(controls_.entry_list->layout()) : nullptr;
  for (size_t row : by_order) {
    Model& model = models_[row];
    if (model.page == nullptr) continue;
    const devices::KindRow& m = kinds[row];
    auto* entry = new CDeviceOptionUI(controls_.entry_list);
    if (!entry->loaded()) {
      delete entry;
      continue;
    }
    entry->SetDevicePage(model.page);
    entry->SetKind(m.kind, kPadVariant);
    entry->SetIndices(QString::fromLatin1(kDeviceSwitchName), m.layout.page, QString::fromLatin1(kPowerContainerName),
                      m.layout.power_page);
    if (list != nullptr) list->addWidget(entry);
    entry->SetShown(false);
    model.entry = entry;
  }
  if (list != nullptr) list->addStretch(1);
  apply_verdict();
}

bool DeviceManager::start_discovery() {
  if (!discovery_) discovery_ = std::make_unique<hid::Discovery>(*this, devices::supported_interfaces());
  return discovery_->start();
}

WorkerThread::StopOutcome DeviceManager::stop_discovery() {
  return discovery_ ? discovery_->stop() : WorkerThread::StopOutcome::NotRunning;
}

// ---- discovery thread ----

void DeviceManager::on_device_arrived(size_t slot_index) {
  const hid::DeviceSlot slot = discovery_->slot(slot_index);
  // The connect delay runs from this moment, not from when the UI thread gets to it (at start
  // it is still building the pages).
  const auto seen = std::chrono::steady_clock::now();
  mailbox_->post([this, slot_index, slot, seen] {
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - seen);
    on_arrived(slot_index, slot, static_cast<int>(waited.count()));
  });
}

void DeviceManager::on_device_removed(size_t slot_index) {
  const hid::DeviceSlot slot = discovery_->slot(slot_index);
  mailbox_->post([this, slot_index, slot] { on_removed(slot_index, slot); });
}

void DeviceManager::on_first_pass() {
  mailbox_->post([this] {
    first_pass_seen_ = true;
    apply_verdict();
    emit first_pass_done();
  });
}

// ---- UI thread ----

DeviceManager::Model* DeviceManager::page_for_slot(const hid::DeviceSlot& slot) {
  for (Model& m : models_) {
    if (m.page != nullptr && same_slot(m.page->device()->slot(), slot)) return &m;
  }
  return nullptr;
}

void DeviceManager::on_arrived(size_t slot_index, const hid::DeviceSlot& slot, int waited_ms) {
  (void)slot_index;
  const devices::KindRow* kind = devices::kind_row(slot.kind);
  if (kind == nullptr) return;
  debug_line(kind->arrival_line);
  if (slot.role == hid::kInterfaceRoleSecondary) {
    if (devices::CMarluneUSBDevice* device = secondary_owner(slot, false)) device->StartSyncThread(slot.path);
    return;
  }
  Model* model = page_for_slot(slot);
  if (model == nullptr || model->entry == nullptr) return;
  devices::CMarluneUSBDevice* device = model->page->device();
  if (!device->primary_channel().opened()) device->open_primary(slot);
  const int index = entry_index(model->entry);
  const bool alone = first_connected().count == 0;
  show_entry(index, true, alone);
  model->entry->StartConnectTimer(waited_ms);
  emit device_arrived();
}

void DeviceManager::on_removed(size_t slot_index, const hid::DeviceSlot& slot) {
  (void)slot_index;
  const devices::KindRow* kind = devices::kind_row(slot.kind);
  if (kind == nullptr) return;
  debug_line(kind->removal_line);
  if (slot.role == hid::kInterfaceRoleSecondary) {
    if (devices::CMarluneUSBDevice* device = secondary_owner(slot, true)) device->StopSyncThread();
    return;
  }
  Model* model = page_for_slot(slot);
  if (model == nullptr) return;
  model->page->device()->on_disconnected();
  if (model->entry != nullptr) hide_entry(entry_index(model->entry));
}

devices::CMarluneUSBDevice* DeviceManager::secondary_owner(const hid::DeviceSlot& slot, bool opened) {
  for (Model& m : models_) {
    if (m.page == nullptr) continue;
    devices::CMarluneUSBDevice* device = m.page->device();
    const hid::DeviceSlot r = device->slot();
    if (device->secondary_channel().opened() == opened && r.vendor_id == slot.vendor_id &&
        r.product_id == slot.product_id && devices::kind_row(r.kind) == devices::kind_row(slot.kind)) {
      return device;
    }
  }
  return nullptr;
}

int DeviceManager::entry_index(const CDeviceOptionUI* entry) const {
  for (size_t i = 0; i < models_.size(); ++i) {
    if (entry != nullptr && models_[i].entry == entry) return static_cast<int>(i);
  }
  return -1;
}

int DeviceManager::page_entry(const DevicePageWidget* page) const {
  for (size_t i = 0; i < models_.size(); ++i) {
    if (page != nullptr && models_[i].page == page) return static_cast<int>(i);
  }
  return -1;
}

std::vector<EntryState> DeviceManager::entry_states() const {
  std::vector<EntryState> states(models_.size());
  for (size_t i = 0; i < models_.size(); ++i) {
    const CDeviceOptionUI* e = models_[i].entry;
    if (e == nullptr) continue;
    states[i] = {e->IsShown(), e->IsSelected(), e->IsSynchro()};
  }
  return states;
}

FirstConnected DeviceManager::first_connected() const {
  const std::vector<EntryState> states = entry_states();
  return first_connected_entry(states);
}

int DeviceManager::selected_entry() const {
  for (size_t i = 0; i < models_.size(); ++i) {
    const CDeviceOptionUI* e = models_[i].entry;
    if (e != nullptr && e->IsShown() && e->IsSelected()) return static_cast<int>(i);
  }
  return -1;
}

DevicePageWidget* DeviceManager::selected_page() const {
  const int i = selected_entry();
  return i < 0 ? nullptr : models_[static_cast<size_t>(i)].page.data();
}

void DeviceManager::show_entry(int index, bool visible, bool select) {
  if (index < 0 || index >= static_cast<int>(models_.size())) return;
  CDeviceOptionUI* entry = models_[static_cast<size_t>(index)].entry;
  if (entry == nullptr) return;
  entry->SetShown(visible);
  if (visible && select) {
    if (controls_.pages != nullptr && entry->tab_layout() == QLatin1String(kDeviceSwitchName)) {
      if (DevicePageWidget* page = entry->page()) controls_.pages->setCurrentWidget(page);
    }
    if (controls_.power_pages != nullptr && entry->second_control() == QLatin1String(kPowerContainerName)) {
      const int page = entry->second_index();
      controls_.power_pages->setVisible(page >= 0);
      if (page >= 0 && page < controls_.power_pages->count()) controls_.power_pages->setCurrentIndex(page);
    }
    for (const Model& m : models_) {
      if (m.entry != nullptr) m.entry->SetSelected(m.entry == entry);
    }
  }
  apply_verdict();
}

void DeviceManager::apply_verdict() {
  const std::vector<EntryState> states = entry_states();
  const ListVerdict verdict = judge_entries(states);
  if (verdict.show_notice) {
    if (controls_.notice != nullptr && first_pass_seen_) {
      controls_.notice->show();
      controls_.notice->raise();
    }
    if (controls_.pages != nullptr && controls_.pages->count() > 0) controls_.pages->setCurrentIndex(0);
    if (controls_.power_pages != nullptr) {
      if (controls_.power_pages->count() > 0) controls_.power_pages->setCurrentIndex(0);
      // Nothing connected: no battery to show.
      controls_.power_pages->setVisible(false);
    }
  }
  if (controls_.notice != nullptr && (!verdict.show_notice || !first_pass_seen_)) controls_.notice->hide();
  if (verdict.clear_marks) {
    for (const Model& m : models_) {
      if (m.entry != nullptr) m.entry->SetSynchro(false);
    }
  }
  if (!verdict.several_visible || verdict.clear_marks) {
    for (const Model& m : models_) {
      if (m.page != nullptr) m.page->device()->set_synchronised(false);
    }
  }
  emit entries_changed();
}

void DeviceManager::hide_entry(int index) {
  if (index < 0 || index >= static_cast<int>(models_.size())) return;
  CDeviceOptionUI* entry = models_[static_cast<size_t>(index)].entry;
  if (entry == nullptr) return;
  const bool was_selected = entry->IsShown() && entry->IsSelected();
  const std::vector<EntryState> states = entry_states();
  const int next = was_selected ? entry_after_hide(states, index) : -1;
  entry->SetShown(false);
  if (next >= 0) {
    show_entry(next, true, true);
  } else {
    apply_verdict();
  }
}

void DeviceManager::entry_picked(CDeviceOptionUI* entry) {
  const int index = entry_index(entry);
  if (index >= 0) show_entry(index, true, true);
}

void DeviceManager::synchro_changed() {
  const std::vector<EntryState> states = entry_states();
  const ListVerdict verdict = judge_entries(states);
  for (size_t i = 0; i < models_.size(); ++i) {
    if (models_[i].page == nullptr) continue;
    const bool on = verdict.several_visible && !verdict.clear_marks && states[i].visible && states[i].synchro;
    models_[i].page->device()->set_synchronised(on);
  }
  emit entries_changed();
}

std::vector<DevicePageWidget*> DeviceManager::synchronised_pages() const {
  std::vector<DevicePageWidget*> out;
  for (const Model& m : models_) {
    if (m.page != nullptr && m.page->device()->synchronised()) out.push_back(m.page);
  }
  return out;
}

void DeviceManager::set_host_lighting_all(bool on) {
  for (const Model& m : models_) {
    if (m.page == nullptr) continue;
    m.page->device()->set_host_lighting(on);
    if (on && m.entry) m.entry->ResumeLightFrames();
  }
}

void DeviceManager::set_ui_flag_all(bool on) {
  for (const Model& m : models_) {
    if (m.page != nullptr) m.page->device()->set_ui_flag(on);
  }
}

}  // namespace qxr::app
