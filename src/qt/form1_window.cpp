#include "qt/form1_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "app/panes.h"
#include "app/window_design.h"
#include "digitize/graph_type.h"
#include "digitize/picture_input.h"
#include "digitize/scale_fields.h"
#include "loading/load_picture.h"
#include "qt/control_binder.h"
#include "qt/data_list_view.h"
#include "qt/dialog_windows.h"
#include "qt/file_pane_widgets.h"
#include "qt/icons.h"
#include "qt/picture_view.h"
#include "qt/qt_platform.h"
#include "shell/form1_events.h"
#include "view/overlays.h"
#include "view/view.h"

namespace plotvane {
namespace {

int toPixels(int twips) {
  return ControlBinder::toPixels(twips);
}

QRect toPixels(const Geometry& g) {
  return QRect(toPixels(g.left), toPixels(g.top), toPixels(g.width), toPixels(g.height));
}

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

bool hasChildren(MenuId id) {
  for (const MenuEntry& entry : kMenuTable)
    if (entry.parent == id) return true;
  return false;
}

}  // namespace

Form1Window::Form1Window(Form1& form, QtPlatform& platform)
    : form_(form),
      platform_(platform),
      binder_(new ControlBinder([this](const std::function<void()>& handler) { handle(handler); },
                                this)) {
  binder_->setErrorRule([this](const Control& field) { return valueFieldInvalid(form_, field); });
  binder_->setFocusRecord(&form_.ui.focused);
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Plotvane"));
  client_ = new QWidget(this);
  client_->setObjectName(QStringLiteral("Form1Client"));
  setCentralWidget(client_);
  client_->installEventFilter(this);

  buildMenus();
  buildToolbar();
  buildPanes();
  buildPicturePane();
  buildStatusLine();

  platform_.setDialogParent(this);
  platform_.setBeforeEvents([this] { syncFromModels(); });
}

Form1Window::~Form1Window() {
  // Dialog windows have no parent: they are the window's to delete.
  for (DialogWindow* window : dialogWindows_) delete window;
}

void Form1Window::buildMenus() {
  for (const MenuEntry& entry : kMenuTable) {
    const auto index = static_cast<std::size_t>(entry.id);
    QMenu* parentMenu = entry.parent ? menus_[static_cast<std::size_t>(*entry.parent)] : nullptr;
    if (!entry.parent || hasChildren(entry.id)) {
      QMenu* menu = parentMenu ? parentMenu->addMenu(QString()) : menuBar()->addMenu(QString());
      if (entry.separatorBefore && parentMenu) parentMenu->insertSeparator(menu->menuAction());
      menu->setObjectName(QString::fromLatin1(entry.name.data(), int(entry.name.size())));
      menus_[index] = menu;
      actions_[index] = menu->menuAction();
      continue;
    }
    if (entry.separatorBefore) parentMenu->addSeparator();
    QAction* action = parentMenu->addAction(QString());
    action->setObjectName(QString::fromLatin1(entry.name.data(), int(entry.name.size())));
    if (!entry.shortcut.empty())
      action->setShortcut(
          QKeySequence(QString::fromLatin1(entry.shortcut.data(), int(entry.shortcut.size()))));
    action->setCheckable(entry.checkable);
    const MenuId id = entry.id;
    connect(action, &QAction::triggered, this,
            [this, id] { binder_->run([&] { menuClick(form_, id); }); });
    actions_[index] = action;
  }
}

void Form1Window::buildToolbar() {
  toolbarWidget_ = new QWidget(client_);
  toolbarWidget_->setObjectName(QStringLiteral("Toolbar1"));
  auto* row = new QHBoxLayout(toolbarWidget_);
  row->setContentsMargins(4, 2, 4, 2);
  row->setSpacing(2);
  for (const ToolbarEntry& entry : kToolbarTable) {
    if (entry.key.empty()) {
      auto* gap = new QFrame(toolbarWidget_);
      gap->setFrameShape(QFrame::VLine);
      gap->setFrameShadow(QFrame::Sunken);
      row->addWidget(gap);
      continue;
    }
    auto* button = new QToolButton(toolbarWidget_);
    button->setObjectName(QString::fromLatin1(entry.key.data(), int(entry.key.size())));
    button->setIcon(toolbarIcon(entry.key));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumWidth(56);
    button->setCheckable(entry.command && isCheckable(*entry.command));
    const int position = entry.position;
    connect(button, &QToolButton::clicked, this,
            [this, position] { binder_->run([&] { toolbarButtonClick(form_, position); }); });
    toolButtons_[static_cast<std::size_t>(position - 1)] = button;
    row->addWidget(button);
  }
  row->addStretch(1);
}

QWidget* Form1Window::bind(Control& control, QWidget* widget, bool placed) {
  return binder_->bind(control, widget, placed);
}

void Form1Window::bindLineEdit(Control& control, QWidget* parent) {
  binder_->bindLineEdit(control, parent);
}

void Form1Window::buildPanes() {
  Form1Controls& ui = form_.ui;
  tabFrame_ = new QFrame(client_);
  static_cast<QFrame*>(tabFrame_)->setFrameShape(QFrame::StyledPanel);
  tabFrame_->setObjectName(QStringLiteral("TabStrip1Frame"));
  tabBar_ = new QTabBar(tabFrame_);
  tabBar_->setObjectName(QStringLiteral("TabStrip1"));
  tabBar_->setExpanding(false);
  tabBar_->setDrawBase(false);
  for (int tab = 0; tab < 3; ++tab) tabBar_->addTab(QString());
  connect(tabBar_, &QTabBar::currentChanged, this, [this](int index) {
    if (index < 0) return;
    binder_->run([&] {
      form_.ui.TabStrip1.selected = index + 1;
      tabStripClick(form_);
    });
  });

  bind(ui.frameSetting, new QWidget(client_), true);
  bind(ui.frameFile, new QWidget(client_), true);
  bind(ui.frameList, new QWidget(client_), true);
  buildSettingsPane();
  buildFilePane();
  buildDataPane();
}

void Form1Window::buildSettingsPane() {
  Form1Controls& ui = form_.ui;
  QWidget* pane = widgetFor(ui.frameSetting);
  auto* column = new QVBoxLayout(pane);
  column->setContentsMargins(0, 0, 0, 0);

  auto* frame5 = static_cast<QGroupBox*>(bind(ui.Frame5, new QGroupBox(pane)));
  auto* frame5Layout = new QVBoxLayout(frame5);
  graphTypeCombo_ = new QComboBox(frame5);
  bind(ui.cmbGraphType, graphTypeCombo_);
  graphTypeCombo_->setIconSize(QSize(16, 16));
  for (int type = 1; type <= 5; ++type) graphTypeCombo_->addItem(graphTypeIcon(type), QString());
  connect(graphTypeCombo_, &QComboBox::activated, this, [this](int index) {
    binder_->run([&] {
      form_.ui.cmbGraphType.selected = index + 1;
      cmbGraphTypeClick(form_);
    });
  });
  frame5Layout->addWidget(graphTypeCombo_);
  column->addWidget(frame5);

  auto addRows = [this](QGroupBox* box, std::initializer_list<std::pair<Control*, Control*>> rows) {
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const auto& [label, field] : rows) {
      auto* caption = static_cast<QLabel*>(bind(*label, new QLabel(box)));
      bindLineEdit(*field, box);
      caption->setBuddy(widgetFor(*field));
      grid->addWidget(caption, row, 0);
      grid->addWidget(widgetFor(*field), row, 1);
      ++row;
    }
    return grid;
  };

  auto* frame1 = static_cast<QGroupBox*>(bind(ui.Frame1, new QGroupBox(pane)));
  addRows(frame1, {{&ui.Label8, &ui.txtMaxLabelX},
                   {&ui.Label6, &ui.txtMinLabelX},
                   {&ui.Label9, &ui.txtSmpX},
                   {&ui.Label10, &ui.txtStpX}});
  column->addWidget(frame1);

  auto* frame2 = static_cast<QGroupBox*>(bind(ui.Frame2, new QGroupBox(pane)));
  addRows(frame2, {{&ui.Label19, &ui.txtMaxLabelY}, {&ui.Label18, &ui.txtMinLabelY}});
  column->addWidget(frame2);

  auto* frame4 = static_cast<QGroupBox*>(bind(ui.Frame4, new QGroupBox(pane)));
  auto* options = new QGridLayout(frame4);
  auto addCheck = [this, frame4](Control& control) {
    auto* check = new QCheckBox(frame4);
    bind(control, check);
    connect(check, &QCheckBox::clicked, this, [this, &control](bool checked) {
      binder_->run([&] {
        control.value = checked ? 1 : 0;
        if (control.onChange) control.onChange();
      });
    });
    return check;
  };
  options->addWidget(addCheck(ui.chkOnGrid), 0, 0);
  bindLineEdit(ui.txtGrid, frame4);
  options->addWidget(widgetFor(ui.txtGrid), 0, 1);
  options->addWidget(addCheck(ui.chkExcel), 1, 0, 1, 2);
  auto* eraserLabel = static_cast<QLabel*>(bind(ui.LabelErs, new QLabel(frame4)));
  bindLineEdit(ui.txtErs, frame4);
  eraserLabel->setBuddy(widgetFor(ui.txtErs));
  options->addWidget(eraserLabel, 2, 0);
  options->addWidget(widgetFor(ui.txtErs), 2, 1);
  auto* filterLabel = static_cast<QLabel*>(bind(ui.Label1, new QLabel(frame4)));
  filterCombo_ = new QComboBox(frame4);
  filterCombo_->setEditable(true);
  bind(ui.cmbFRange, filterCombo_);
  binder_->trackFocus(ui.cmbFRange, filterCombo_);
  for (const std::string& item : ui.cmbFRange.items) filterCombo_->addItem(qs(item));
  filterLabel->setBuddy(filterCombo_);
  connect(filterCombo_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    binder_->run([&] { form_.ui.cmbFRange.setText(text.toStdString()); });
  });
  options->addWidget(filterLabel, 3, 0);
  options->addWidget(filterCombo_, 3, 1);
  auto* pickUpLabel = static_cast<QLabel*>(bind(ui.Label21, new QLabel(frame4)));
  bindLineEdit(ui.txtPicUpRange, frame4);
  pickUpLabel->setBuddy(widgetFor(ui.txtPicUpRange));
  options->addWidget(pickUpLabel, 4, 0);
  options->addWidget(widgetFor(ui.txtPicUpRange), 4, 1);
  column->addWidget(frame4);
  column->addStretch(1);
}

void Form1Window::buildFilePane() {
  Form1Controls& ui = form_.ui;
  QWidget* pane = widgetFor(ui.frameFile);
  const FilePaneRunner run = [this](const std::function<void()>& handler) {
    binder_->run(handler);
  };
  bind(ui.Label20, new QLabel(pane), true);
  bind(ui.Drive1, new DriveListWidget(form_, run, pane), true);
  bind(ui.Dir1, new FolderListWidget(form_, run, pane), true);
  bind(ui.File1, new FileListWidget(form_, run, pane), true);
  static_cast<QLabel*>(widgetFor(ui.Label20))->setBuddy(widgetFor(ui.File1));
  auto* flag = new QLineEdit(pane);
  bind(ui.txtMD, flag, true);
  flag->setReadOnly(true);
  flag->setFrame(false);
}

void Form1Window::buildDataPane() {
  Form1Controls& ui = form_.ui;
  QWidget* pane = widgetFor(ui.frameList);
  int left = 4;
  for (Control* control : {&ui.cmdSendExcel, &ui.cmdSaveData, &ui.cmdListDelAll}) {
    auto* button = new QPushButton(pane);
    bind(*control, button);
    button->setGeometry(left, 4, 90, 28);
    left += 96;
    connect(button, &QPushButton::clicked, this, [this, control] {
      if (binder_->syncing()) return;
      if (control == &form_.ui.cmdSendExcel) {
        menuFor(MenuId::mnuDataExcel)->popup(QCursor::pos());
        return;
      }
      handle([&] {
        if (control->onChange) control->onChange();
      });
    });
  }
  listView_ = new DataListView(
      form_, [this](const std::function<void()>& handler) { handle(handler); }, pane);
  bind(ui.ListView1, listView_, true);
}

void Form1Window::buildPicturePane() {
  Form1Controls& ui = form_.ui;
  auto* viewport = new QFrame(client_);
  viewport->setFrameShape(QFrame::Panel);
  viewport->setFrameShadow(QFrame::Sunken);
  viewport->setLineWidth(kViewportBorder);
  bind(ui.Picture3, viewport, true);
  pictureView_ = new PictureView(form_, viewport);
  bind(ui.Picture1, pictureView_);
  pictureView_->setKeyHandler(
      [this](int code) { binder_->run([&] { picture1KeyDown(form_, code); }); });
  pictureView_->setPointerHandler(
      [this](PictureView::PointerAction action, const PointerEvent& event) {
        binder_->run([&] {
          switch (action) {
            case PictureView::PointerAction::Press:
              picture1MouseDown(form_, event);
              break;
            case PictureView::PointerAction::Move:
              picture1MouseMove(form_, event);
              break;
            case PictureView::PointerAction::Release:
              picture1MouseUp(form_, event);
              break;
          }
        });
      });
  pictureView_->setWheelHandler(
      [this](const WheelEvent& wheel) { binder_->run([&] { picture1Wheel(form_, wheel); }); });
  setAcceptDrops(true);
  // The on-picture value fields: frameless, in a small font, placed by the
  // core (syncPictureView).
  for (Control* field : {&ui.txtLXS, &ui.txtLXE, &ui.txtLYT, &ui.txtLYB}) {
    bindLineEdit(*field, viewport);
    auto* edit = static_cast<QLineEdit*>(widgetFor(*field));
    edit->setFrame(false);
    // Reached by the pointer only: the keyboard has the same values in the
    // settings pane, and a field over the picture must not catch the focus
    // when the focused pane is hidden.
    edit->setFocusPolicy(Qt::ClickFocus);
    QFont small = edit->font();
    small.setPixelSize(kValueLabelHeight - 1);
    edit->setFont(small);
  }
  // A pointer over the viewport around the view, or over the window, has
  // left the picture.
  viewport->setMouseTracking(true);
  viewport->installEventFilter(this);
  client_->setMouseTracking(true);
  hScroll_ = new QScrollBar(Qt::Horizontal, client_);
  bind(ui.HScroll1, hScroll_, true);
  vScroll_ = new QScrollBar(Qt::Vertical, client_);
  bind(ui.VScroll1, vScroll_, true);
  for (auto [bar, model] : {std::pair{hScroll_, &ui.HScroll1}, std::pair{vScroll_, &ui.VScroll1}}) {
    connect(bar, &QScrollBar::valueChanged, this, [this, model](int value) {
      binder_->run([&] {
        model->value = value;
        scrollBarChange(form_);
      });
    });
  }
}

void Form1Window::syncPictureView() {
  const Geometry& view = form_.ui.Picture1.geometry;
  const QRect place(kViewportBorder + toPixels(view.left), kViewportBorder + toPixels(view.top),
                    toPixels(view.width), toPixels(view.height));
  if (pictureView_->geometry() != place) pictureView_->setGeometry(place);
  pictureView_->refresh();
  // The value fields lie in the viewport at the view's coordinates, as wide
  // as the core keeps them unless the text would not fit.
  const Form1Controls& ui = form_.ui;
  for (const Control* field : {&ui.txtLXS, &ui.txtLXE, &ui.txtLYT, &ui.txtLYB}) {
    QWidget* edit = widgetFor(*field);
    QRect box = toPixels(field->geometry).translated(kViewportBorder, kViewportBorder);
    // QLineEdit keeps 2 pixels each side of the text, and 1 for the cursor.
    const int needed = edit->fontMetrics().horizontalAdvance(qs(field->text)) + 5;
    if (box.width() < needed) box.setWidth(needed);
    if (edit->geometry() != box) edit->setGeometry(box);
  }
}

namespace {

// The local files among dropped data; anything else dropped is ignored.
// Their paths are the bytes the URL encodes: a name that is not UTF-8
// would not survive a QString.
std::vector<std::string> droppedFiles(const QMimeData* data) {
  std::vector<std::string> files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile())
      files.push_back(
          QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
  return files;
}

}  // namespace

void Form1Window::dragEnterEvent(QDragEnterEvent* event) {
  if (!droppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void Form1Window::dragMoveEvent(QDragMoveEvent* event) {
  if (!droppedFiles(event->mimeData()).empty()) event->acceptProposedAction();
}

void Form1Window::dropEvent(QDropEvent* event) {
  const std::vector<std::string> files = droppedFiles(event->mimeData());
  if (files.empty()) return;
  event->acceptProposedAction();
  handle([&] { formDropFiles(form_, files); });
}

void Form1Window::buildStatusLine() {
  Form1Controls& ui = form_.ui;
  statusBar_ = new QWidget(client_);
  bind(ui.StatusBar1, statusBar_, true);
  auto* row = new QHBoxLayout(statusBar_);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  for (std::size_t panel = 0; panel < statusPanels_.size(); ++panel) {
    auto* label = new QLabel(statusBar_);
    label->setObjectName(QStringLiteral("StatusPanel%1").arg(panel + 1));
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setIndent(3);
    if (panel + 1 < statusPanels_.size()) {
      label->setFixedWidth(toPixels(design::kStatusPanelWidths[panel]));
      row->addWidget(label);
    } else {
      row->addWidget(label, 1);
    }
    statusPanels_[panel] = label;
  }
  for (Control* field : {&ui.Text1, &ui.Text2}) {
    auto* edit = new QLineEdit(client_);
    bind(*field, edit, true);
    edit->setReadOnly(true);
    edit->setFrame(false);
  }
  progressBar_ = new QProgressBar(client_);
  bind(ui.ProgressBar1, progressBar_, true);
  progressBar_->setTextVisible(false);
}

QWidget* Form1Window::widgetFor(const Control& control) const {
  return binder_->widgetFor(control);
}

void Form1Window::syncFromModels() {
  if (binder_->syncing()) return;
  const ControlBinder::Syncing guard(*binder_);
  Form1Controls& ui = form_.ui;

  for (const MenuEntry& entry : kMenuTable) {
    const Control& model = ui.menu(entry.id);
    QAction* action = actions_[static_cast<std::size_t>(entry.id)];
    if (action->text() != qs(model.text)) action->setText(qs(model.text));
    action->setEnabled(model.enabled);
    action->setVisible(model.visible);
    if (action->isCheckable()) action->setChecked(model.value != 0);
  }
  for (const ToolbarEntry& entry : kToolbarTable) {
    QToolButton* button = toolButtonAt(entry.position);
    if (!button) continue;
    const ToolButtonModel& model = ui.toolButton(entry.position);
    button->setText(qs(model.caption));
    button->setEnabled(model.enabled);
    if (button->isCheckable()) button->setChecked(model.value != 0);
  }

  binder_->sync();
  setEnabled(ui.form.enabled);
  qtTranslation_.follow(form_.app.language);

  // Tab strip.
  tabFrame_->setGeometry(toPixels(ui.TabStrip1.geometry));
  tabBar_->setGeometry(0, 0, tabFrame_->width(), tabBar_->sizeHint().height());
  for (int tab = 0; tab < tabBar_->count(); ++tab)
    if (tab < int(ui.TabStrip1.tabs.size())) tabBar_->setTabText(tab, qs(ui.TabStrip1.tabs[tab]));
  tabBar_->setCurrentIndex(ui.TabStrip1.selected - 1);
  toolbarWidget_->setGeometry(0, 0, client_->width(), toPixels(design::kToolbarHeight));

  // Combo boxes.
  for (int item = 0; item < graphTypeCombo_->count(); ++item)
    if (item < int(ui.cmbGraphType.items.size()))
      graphTypeCombo_->setItemText(item, qs(ui.cmbGraphType.items[item]));
  graphTypeCombo_->setCurrentIndex(ui.cmbGraphType.selected - 1);
  if (filterCombo_->currentText() != qs(ui.cmbFRange.text))
    filterCombo_->setEditText(qs(ui.cmbFRange.text));

  // Data list and file pane.
  listView_->sync();
  syncFilePane(widgetFor(ui.frameFile));

  // Scroll bars.
  for (auto [bar, model] : {std::pair{hScroll_, &ui.HScroll1}, std::pair{vScroll_, &ui.VScroll1}}) {
    bar->setRange(model->minimum, model->maximum);
    bar->setSingleStep(model->smallChange);
    bar->setPageStep(model->largeChange);
    bar->setValue(model->value);
  }

  // Status line.
  for (std::size_t panel = 0; panel < statusPanels_.size(); ++panel)
    statusPanels_[panel]->setText(
        panel < ui.StatusBar1.panels.size() ? qs(ui.StatusBar1.panels[panel]) : QString());
  progressBar_->setRange(ui.ProgressBar1.minimum, ui.ProgressBar1.maximum);
  progressBar_->setValue(ui.ProgressBar1.value);
  for (Control* field : {&ui.Text1, &ui.Text2}) widgetFor(*field)->raise();
  progressBar_->raise();
  for (Control* pane : {&ui.frameSetting, &ui.frameFile, &ui.frameList}) widgetFor(*pane)->raise();
  syncPictureView();
  syncDialogs();
}

void Form1Window::syncDialogs() {
  for (std::size_t index = 0; index < kDialogCount; ++index) {
    const auto id = static_cast<DialogId>(index);
    DialogWindow*& window = dialogWindows_[index];
    const Dialog* model = form_.dialog(id);
    if (window && window->model() != model) {
      window->hide();
      window->deleteLater();
      window = nullptr;
    }
    if (!window && model) {
      window = createDialogWindow(
          form_, id, [this](const std::function<void()>& handler) { handle(handler); });
      if (!window) continue;
      window->sync();
      window->adjustSize();
      window->move(geometry().center() - window->rect().center());
    }
    if (!window) continue;
    window->sync();
    // A dialog may be loaded before it is shown.
    if (window->isVisible() != model->window.visible) window->setVisible(model->window.visible);
  }
}

void Form1Window::start(std::optional<std::string> pictureArgument) {
  pendingArgument_ = std::move(pictureArgument);
  // The layout follows any size: on a small or highly scaled screen the
  // window starts as large as the screen leaves room for.
  const QScreen* shownOn = screen();
  const QRect available = shownOn ? shownOn->availableGeometry() : QRect();
  resize(startSize(kDesignSize, available.size()));
  handle([&] { formLoad(form_); });
  started_ = true;
  resizeClient();
}

void Form1Window::afterHandler() {
  syncFromModels();
  Form1Controls& ui = form_.ui;
  if (const Control* target = std::exchange(ui.focusRequest, nullptr)) {
    if (QWidget* widget = widgetFor(*target); widget && !widget->hasFocus())
      widget->setFocus(Qt::MouseFocusReason);
  }
  if (const std::optional<MenuId> menu = std::exchange(form_.state.popupMenu, std::nullopt))
    if (QMenu* popup = menuFor(*menu)) popup->popup(QCursor::pos());
  if (form_.state.closed && isVisible()) close();
}

void Form1Window::resizeClient() {
  if (!started_) return;
  const int width = client_->width() * kTwipsPerPixel;
  const int height = client_->height() * kTwipsPerPixel;
  handle([&] { formResize(form_, width, height); });
}

void Form1Window::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shownOnce_) return;
  shownOnce_ = true;
  resizeClient();
  QTimer::singleShot(0, this, [this] {
    const std::optional<std::string> argument = std::move(pendingArgument_);
    pendingArgument_.reset();
    handle([&] { formShown(form_, argument); });
  });
}

bool Form1Window::eventFilter(QObject* watched, QEvent* event) {
  if (watched == client_ && event->type() == QEvent::Resize) resizeClient();
  QWidget* viewport = widgetFor(form_.ui.Picture3);
  if (event->type() == QEvent::MouseMove && (watched == client_ || watched == viewport)) {
    // Moves over the view itself that the view passes up are not moves off
    // the picture.
    auto* over = static_cast<QWidget*>(watched);
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    const bool onPicture =
        pictureView_->isVisible() && pictureView_->rect().contains(pictureView_->mapFrom(over, at));
    const Form1Controls& ui = form_.ui;
    const bool footprintShown = ui.shapPicUpRange.visible || ui.shapEraseRange.visible;
    if (!onPicture && footprintShown)
      binder_->run([&] { watched == client_ ? Form1MouseMove(form_) : picture3MouseMove(form_); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void Form1Window::closeEvent(QCloseEvent* event) {
  // A picture being read lets the window paint once: a close that arrives
  // then waits until the read is done.
  if (platform_.busy()) {
    event->ignore();
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  // A run that yields to events cannot be pulled from under itself: ask it to
  // stop, and the window closes once it has unwound.
  if (form_.state.runActive) {
    form_.state.closeRequested = true;
    form_.app.cancelRequested = true;
    event->ignore();
    return;
  }
  if (!form_.state.closed) runHandler(form_, [&] { formUnload(form_); });
  syncDialogs();
  event->accept();
}

}  // namespace plotvane
