#include "editors/macros/macro_control_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>
#include <QWindow>

#include "core/debug_line.h"
#include "editors/keys/key_capture.h"
#include "editors/macros/macro_control_names.h"
#include "editors/macros/macro_event_model.h"
#include "editors/macros/macro_rows.h"
#include "editors/macros/macro_texts.h"
#include "ui/controls/redio_macro_button.h"
#include "ui/language.h"
#include "ui/notification.h"
#include "ui/notify_wiring.h"
#include "ui/number_edit.h"
#include "ui/skin_loader.h"

using namespace qxr::editors::macros;
namespace n = qxr::editors::macros::names;

namespace {

constexpr int kFixedDelayDigits = 5;
constexpr int kDistanceDigits = 3;
constexpr int kMaxDistance = 255;
constexpr int kDelayColumnWidth = 100;
constexpr int kStateColumnWidth = 32;

QString tr_key(std::string_view key) {
  return qxr::ui::Language::instance().text(QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())));
}

std::optional<MouseInput> mouse_input(Qt::MouseButton button, bool down) {
  switch (button) {
    case Qt::LeftButton:
      return down ? MouseInput::LeftDown : MouseInput::LeftUp;
    case Qt::RightButton:
      return down ? MouseInput::RightDown : MouseInput::RightUp;
    case Qt::MiddleButton:
      return down ? MouseInput::MiddleDown : MouseInput::MiddleUp;
    case Qt::BackButton:
      return down ? MouseInput::BackDown : MouseInput::BackUp;
    case Qt::ForwardButton:
      return down ? MouseInput::ForwardDown : MouseInput::ForwardUp;
    default:
      return std::nullopt;
  }
}

std::string_view distance_edit(MouseInput input) {
  switch (input) {
    case MouseInput::MoveLeft:
      return n::kMoveLeftEdit;
    case MouseInput::MoveRight:
      return n::kMoveRightEdit;
    case MouseInput::MoveUp:
      return n::kMoveUpEdit;
    case MouseInput::MoveDown:
      return n::kMoveDownEdit;
    default:
      return {};
  }
}

}  // namespace

CMacroControlUI::CMacroControlUI(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
}

CMacroControlUI::~CMacroControlUI() {
  if (recording()) qApp->removeEventFilter(this);
}

QString CMacroControlUI::qname(std::string_view name) const {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

bool CMacroControlUI::set_attribute(const QString& name, const QVariant& value) {
  return skin_.take_attribute(name, value);
}

bool CMacroControlUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  if (event->type() == QEvent::Show) InitControls();
  return QWidget::event(event);
}

bool CMacroControlUI::InitControls() {
  if (content_ != nullptr) return true;
  content_ = skin_.build(*this, *layout_, cache_);
  if (content_ == nullptr) return false;
  names_ = control<QListWidget>(n::kNameList);
  table_ = control<QTableView>(n::kEventList);
  if (table_ != nullptr) {
    model_ = new MacroEventModel(events_, this);
    table_->setModel(model_);
    table_->setItemDelegateForColumn(MacroEventModel::kDelayColumn, new MacroDelayDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                            QAbstractItemView::EditKeyPressed);
    table_->verticalHeader()->setVisible(false);
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(kItemHeight);
    table_->horizontalHeader()->setSectionResizeMode(MacroEventModel::kNameColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->resizeSection(MacroEventModel::kStateColumn, kStateColumnWidth);
    table_->horizontalHeader()->resizeSection(MacroEventModel::kDelayColumn, kDelayColumnWidth);
    table_->setShowGrid(false);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& now) {
      events_.select(now.isValid() ? std::optional<size_t>(static_cast<size_t>(now.row())) : std::nullopt);
    });
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(table_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
      if (recording() || !selected_macro()) return;
      QMenu menu(this);
      QMenu* insert = menu.addMenu(tr_key(texts::kInsertMenu));
      QMenu* before = menu.addMenu(tr_key(texts::kRecordBeforeMenu));
      QMenu* after = menu.addMenu(tr_key(texts::kRecordAfterMenu));
      for (const MacroNotificationRow& row : macro_notification_table()) {
        if (row.type != kMenuNotification) continue;
        QMenu* to = row.action == MacroAction::InsertMouse    ? insert
                    : row.action == MacroAction::RecordBefore ? before
                    : row.action == MacroAction::RecordAfter  ? after
                                                              : &menu;
        if (to == &menu && !events_.selected()) continue;  // replacing needs a row
        QAction* action = to->addAction(tr_key(row.text));
        connect(action, &QAction::triggered, this, [this, name = QString::fromLatin1(row.name.data(), qsizetype(row.name.size()))] {
          qxr::ui::send_menu_notify(table_, name);
        });
      }
      menu.exec(table_->viewport()->mapToGlobal(at));
    });
  }
  qxr::ui::make_number_edit(control<QLineEdit>(n::kFixedDelayEdit), kFixedDelayDigits);
  for (std::string_view edit : {n::kMoveLeftEdit, n::kMoveRightEdit, n::kMoveUpEdit, n::kMoveDownEdit}) {
    qxr::ui::make_number_edit(control<QLineEdit>(edit), kDistanceDigits);
  }
  fixed_delay();
  LoadMacroList();
  return true;
}

QWidget* CMacroControlUI::control(std::string_view name) {
  if (!InitControls()) return nullptr;
  return cache_.find(qname(name));
}

// ---- macro list ----

void CMacroControlUI::SetMacroFolder(const std::string& folder) {
  folder_ = MacroFolder(folder);
  if (content_ != nullptr) LoadMacroList();
}

void CMacroControlUI::LoadMacroList() {
  folder_.load();
  if (names_ == nullptr) return;
  {
    qxr::ui::NotifySilencer quiet(names_);
    names_->clear();
    for (const qxr::MacroEntry& e : folder_.entries()) {
      auto* item = new QListWidgetItem(QString::fromStdString(e.name), names_);
      item->setData(Qt::UserRole, QString::fromStdString(e.guid));
      item->setSizeHint(QSize(0, kItemHeight));
    }
  }
  SelectMacro(std::nullopt);
}

std::optional<size_t> CMacroControlUI::selected_macro() const {
  if (names_ == nullptr) return std::nullopt;
  const int row = names_->currentRow();
  if (row < 0 || static_cast<size_t>(row) >= folder_.size()) return std::nullopt;
  return static_cast<size_t>(row);
}

void CMacroControlUI::SelectMacro(std::optional<size_t> index) {
  if (names_ != nullptr) {
    qxr::ui::NotifySilencer quiet(names_);
    names_->setCurrentRow(index && *index < folder_.size() ? static_cast<int>(*index) : -1);
  }
  ShowSelectedMacro();
}

void CMacroControlUI::ShowSelectedMacro() {
  const std::optional<size_t> macro = selected_macro();
  set_editing_enabled(macro.has_value());
  if (auto* name = control<QLineEdit>(n::kNameEdit)) {
    name->setText(macro ? QString::fromStdString(folder_.entries()[*macro].name) : QString());
  }
  events_.assign(macro ? folder_.events(*macro) : std::vector<qxr::MacroEvent>{});
  RowsChanged();
}

void CMacroControlUI::set_editing_enabled(bool on) {
  for (std::string_view name : {n::kActionLayout, n::kMoveLayout, n::kExportButton, n::kDeleteButton, n::kRenameButton,
                                n::kStartButton, n::kNameEdit}) {
    if (QWidget* w = control(name)) w->setEnabled(on);
  }
}

CMacroControlUI::MacroChange CMacroControlUI::AddMacro(size_t* index) {
  size_t added = 0;
  const MacroChange change = folder_.add(&added);
  if (change != MacroChange::kDone) return change;
  if (names_ != nullptr) {
    qxr::ui::NotifySilencer quiet(names_);
    auto* item = new QListWidgetItem(QString::fromStdString(folder_.entries()[added].name), names_);
    item->setData(Qt::UserRole, QString::fromStdString(folder_.entries()[added].guid));
    item->setSizeHint(QSize(0, kItemHeight));
  }
  SelectMacro(added);
  if (index != nullptr) *index = added;
  return change;
}

std::optional<size_t> CMacroControlUI::DeleteSelectedMacro() {
  const std::optional<size_t> macro = selected_macro();
  if (!macro || folder_.remove(*macro) != MacroChange::kDone) return std::nullopt;
  if (names_ != nullptr) {
    qxr::ui::NotifySilencer quiet(names_);
    delete names_->takeItem(static_cast<int>(*macro));
  }
  SelectMacro(folder_.size() > 0 ? std::optional<size_t>(0) : std::nullopt);
  return macro;
}

CMacroControlUI::MacroChange CMacroControlUI::RenameSelectedMacro(size_t* index) {
  const std::optional<size_t> macro = selected_macro();
  auto* edit = control<QLineEdit>(n::kNameEdit);
  if (!macro || edit == nullptr) return MacroChange::kNoSuchMacro;
  const MacroChange change = folder_.rename(*macro, edit->text().toStdString());
  if (change != MacroChange::kDone) return change;
  const QString name = QString::fromStdString(folder_.entries()[*macro].name);
  edit->setText(name);
  if (names_ != nullptr && names_->item(static_cast<int>(*macro)) != nullptr) names_->item(static_cast<int>(*macro))->setText(name);
  if (index != nullptr) *index = *macro;
  return change;
}

bool CMacroControlUI::SaveSelectedMacro() {
  const std::optional<size_t> macro = selected_macro();
  return macro && folder_.save(*macro, events_.rows()) == MacroChange::kDone;
}

CMacroControlUI::MacroChange CMacroControlUI::ImportMacro(const std::string& path, qxr::MacroImportCheck* check,
                                                          size_t* index) {
  size_t added = 0;
  const MacroChange change = folder_.import(path, check, &added);
  if (change != MacroChange::kDone) return change;
  if (names_ != nullptr) {
    qxr::ui::NotifySilencer quiet(names_);
    auto* item = new QListWidgetItem(QString::fromStdString(folder_.entries()[added].name), names_);
    item->setData(Qt::UserRole, QString::fromStdString(folder_.entries()[added].guid));
    item->setSizeHint(QSize(0, kItemHeight));
  }
  SelectMacro(added);
  if (index != nullptr) *index = added;
  return change;
}

CMacroControlUI::MacroChange CMacroControlUI::ExportMacro(const std::string& path) const {
  const std::optional<size_t> macro = selected_macro();
  return macro ? folder_.export_to(*macro, path) : MacroChange::kNoSuchMacro;
}

// ---- rows ----

void CMacroControlUI::SelectRow(std::optional<size_t> row) {
  events_.select(row);
  RowsChanged();
}

void CMacroControlUI::RowsChanged() {
  if (model_ == nullptr || table_ == nullptr) return;
  model_->reset_rows();
  const std::optional<size_t> row = events_.selected();
  if (!row) return;
  const QModelIndex index = model_->index(static_cast<int>(*row), MacroEventModel::kNameColumn);
  table_->setCurrentIndex(index);
  // The view lays the rows out first.
  QTimer::singleShot(kScrollTimerMs, table_, [table = table_, index] {
    if (table != nullptr && index.isValid()) table->scrollTo(index);
  });
}

void CMacroControlUI::InsertMouseEvent(MouseInput input) {
  uint8_t distance = 0;
  if (const std::string_view edit = distance_edit(input); !edit.empty()) {
    distance = static_cast<uint8_t>(qxr::ui::commit_number(control<QLineEdit>(edit), 0, kMaxDistance, 0));
  }
  qxr::MacroEvent event = mouse_event(input, distance);
  event.delay_ms = fixed_delay();
  if (events_.size() >= qxr::kMaxMacroEvents) return;
  events_.insert_after_selected(event);
  RowsChanged();
}

uint16_t CMacroControlUI::fixed_delay() {
  auto* edit = control<QLineEdit>(n::kFixedDelayEdit);
  if (edit == nullptr) return fixed_delay_ms_;
  fixed_delay_ms_ = static_cast<uint16_t>(qxr::ui::commit_number(edit, 0, static_cast<int>(qxr::kMaxMacroDelayMs), fixed_delay_ms_));
  edit->setCursorPosition(static_cast<int>(edit->text().size()));
  return fixed_delay_ms_;
}

bool CMacroControlUI::fixed_delay_checked() {
  auto* check = control<QAbstractButton>(n::kFixedDelayCheck);
  return check != nullptr && check->isChecked();
}

// ---- recording ----

void CMacroControlUI::StartRecording(DelayMode mode, RecordPlace place) {
  if (recording() || !selected_macro()) return;
  if (place == RecordPlace::Replace && !events_.selected()) return;
  recorder_.start(mode, fixed_delay(), place, clock_->now_ms());
  recorded_window_ = window() != nullptr ? window()->windowHandle() : nullptr;
  qApp->installEventFilter(this);
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) { SetWindowActive(state == Qt::ApplicationActive); });
  show_recording_state(true);
}

void CMacroControlUI::StopRecording() {
  if (!recording()) return;
  recorder_.stop();
  qApp->removeEventFilter(this);
  disconnect(qApp, &QGuiApplication::applicationStateChanged, this, nullptr);
  show_recording_state(false);
}

void CMacroControlUI::show_recording_state(bool on) {
  for (std::string_view name : {n::kNameTab, n::kEventList}) {
    if (QWidget* w = control(name)) w->setAttribute(Qt::WA_TransparentForMouseEvents, on);
  }
  for (std::string_view name : {n::kActionEditTab, n::kDelayEditTab}) {
    if (QWidget* w = control(name)) w->setEnabled(!on);
  }
  if (QWidget* rows = control("macro_row_buttons")) rows->setEnabled(!on);
  if (QWidget* start = control(n::kStartButton)) start->setVisible(!on);
  if (QWidget* stop = control(n::kStopButton)) {
    stop->setVisible(on);
    if (auto* pulsing = qobject_cast<CRedioMacroButtonUI*>(stop)) pulsing->set_running(on);
  }
}

bool CMacroControlUI::RecordKey(uint32_t native_scan_code, bool down) {
  const std::optional<size_t> entry = qxr::editors::keys::captured_entry(native_scan_code);
  if (!entry || !recorder_.key(*entry, down, clock_->now_ms(), events_)) return false;
  RowsChanged();
  return true;
}

bool CMacroControlUI::RecordMouse(Qt::MouseButton button, bool down, const QPoint& global_position) {
  const std::optional<MouseInput> input = mouse_input(button, down);
  if (!input) return false;
  // The click that ends the recording is not part of the macro.
  QWidget* stop = control(n::kStopButton);
  if (button == Qt::LeftButton && stop != nullptr && stop->isVisible() &&
      QRect(stop->mapToGlobal(QPoint(0, 0)), stop->size()).contains(global_position)) {
    return false;
  }
  if (!recorder_.mouse(*input, clock_->now_ms(), events_)) return false;
  RowsChanged();
  return true;
}

void CMacroControlUI::SetWindowActive(bool active) {
  if (active) {
    recorder_.resume(clock_->now_ms());
  } else {
    recorder_.pause();
  }
}

bool CMacroControlUI::eventFilter(QObject* watched, QEvent* event) {
  if (!recording()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::ShortcutOverride:
      // No shortcut of the program acts on a key being recorded.
      event->accept();
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      // Each key reaches the window first and is then passed to a widget: take it once, there.
      if (watched != recorded_window_) return recorded_window_ != nullptr;
      RecordKey(static_cast<QKeyEvent*>(event)->nativeScanCode(), event->type() == QEvent::KeyPress);
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
      if (watched == recorded_window_) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        RecordMouse(mouse->button(), event->type() != QEvent::MouseButtonRelease, mouse->globalPosition().toPoint());
      }
      return false;
    default:
      return QWidget::eventFilter(watched, event);
  }
}
