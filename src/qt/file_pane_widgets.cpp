#include "qt/file_pane_widgets.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <cmath>

#include "loading/file_pane.h"
#include "loading/load_picture.h"

namespace plotvane {
namespace {

QString qs(const std::string& text) {
  return QString::fromStdString(text);
}

bool isEnter(const QKeyEvent* event) {
  return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

DriveListWidget::DriveListWidget(Form1& form, FilePaneRunner run, QWidget* parent)
    : QComboBox(parent), form_(form), run_(std::move(run)) {
  setIconSize(QSize(16, 16));
  connect(this, &QComboBox::activated, this, [this](int index) {
    run_([&] {
      form_.ui.Drive1.selected = index + 1;
      drive1Change(form_);
    });
  });
}

void DriveListWidget::sync() {
  const ComboControl& model = form_.ui.Drive1;
  bool same = count() == static_cast<int>(model.items.size());
  for (int i = 0; same && i < count(); ++i) same = itemText(i) == qs(model.items[std::size_t(i)]);
  if (!same) {
    const QIcon icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
    clear();
    for (const std::string& root : model.items) addItem(icon, qs(root));
  }
  if (currentIndex() != model.selected - 1) setCurrentIndex(model.selected - 1);
}

void DriveListWidget::showPopup() {
  run_([&] { refreshDrive1(form_); });
  sync();
  QComboBox::showPopup();
}

FolderListWidget::FolderListWidget(Form1& form, FilePaneRunner run, QWidget* parent)
    : QListWidget(parent), form_(form), run_(std::move(run)) {
  setIconSize(QSize(16, 16));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideMiddle);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
}

int FolderListWidget::twipsFromTop(const QPointF& viewportPosition) const {
  const QPointF inList = viewportPosition + QPointF(viewport()->mapTo(this, QPoint(0, 0)));
  return static_cast<int>(std::floor(inList.y())) * kTwipsPerPixel;
}

void FolderListWidget::sync() {
  const FolderListControl& model = form_.ui.Dir1;
  if (model.path != shownPath_ || model.entries != shownEntries_) {
    clear();
    auto* here = new QListWidgetItem(style()->standardIcon(QStyle::SP_DirOpenIcon), qs(model.path));
    here->setFlags(Qt::ItemIsEnabled);
    here->setToolTip(qs(model.path));
    addItem(here);
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon up = style()->standardIcon(QStyle::SP_FileDialogToParent);
    for (const std::string& entry : model.entries)
      addItem(new QListWidgetItem(entry == ".." ? up : folder, qs(entry)));
    if (count() > 1) setCurrentRow(1, QItemSelectionModel::NoUpdate);
    shownPath_ = model.path;
    shownEntries_ = model.entries;
  }
  const Qt::CursorShape shape = model.resizePointer ? Qt::SizeVerCursor : Qt::ArrowCursor;
  if (viewport()->cursor().shape() != shape) viewport()->setCursor(shape);
}

void FolderListWidget::open(int row) {
  // Row 0 names the folder itself.
  if (row >= 1) run_([&] { dir1Open(form_, row - 1); });
}

void FolderListWidget::mousePressEvent(QMouseEvent* event) {
  const bool left = event->button() == Qt::LeftButton;
  const int y = twipsFromTop(event->position());
  run_([&] { dir1MouseDown(form_, left, y); });
  dragging_ = left && form_.state.dragTarget == 1;
  if (dragging_) {
    event->accept();
    return;
  }
  QListWidget::mousePressEvent(event);
}

void FolderListWidget::mouseMoveEvent(QMouseEvent* event) {
  const bool leftHeld = (event->buttons() & Qt::LeftButton) != 0;
  const int y = twipsFromTop(event->position());
  run_([&] { dir1MouseMove(form_, leftHeld, y); });
  if (dragging_) {
    event->accept();
    return;
  }
  QListWidget::mouseMoveEvent(event);
}

void FolderListWidget::mouseReleaseEvent(QMouseEvent* event) {
  run_([&] { dir1MouseUp(form_); });
  if (dragging_) {
    dragging_ = false;
    event->accept();
    return;
  }
  QListWidget::mouseReleaseEvent(event);
}

void FolderListWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !dragging_) {
    if (QListWidgetItem* item = itemAt(event->position().toPoint())) {
      open(row(item));
      event->accept();
      return;
    }
  }
  QListWidget::mouseDoubleClickEvent(event);
}

void FolderListWidget::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event)) {
    open(currentRow());
    return;
  }
  if (event->key() == Qt::Key_Backspace) {
    const auto& entries = form_.ui.Dir1.entries;
    if (!entries.empty() && entries.front() == "..") open(1);
    return;
  }
  QListWidget::keyPressEvent(event);
}

FileListWidget::FileListWidget(Form1& form, FilePaneRunner run, QWidget* parent)
    : QListWidget(parent), form_(form), run_(std::move(run)) {
  setIconSize(QSize(16, 16));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideMiddle);
  connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int index = row(item) + 1;
    run_([&] { file1Click(form_, index); });
  });
}

void FileListWidget::sync() {
  const FileListControl& model = form_.ui.File1;
  const bool rebuild = model.path != shownPath_ || model.files != shownFiles_;
  if (rebuild) {
    clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const std::string& name : model.files) addItem(new QListWidgetItem(icon, qs(name)));
    shownPath_ = model.path;
    shownFiles_ = model.files;
  }
  // The model's selection is shown when it changes; the keys move the
  // highlight freely in between.
  if (rebuild || model.selected != shownSelected_) {
    if (model.selected >= 1 && model.selected <= count())
      setCurrentRow(model.selected - 1);
    else
      clearSelection();
    shownSelected_ = model.selected;
  }
}

void FileListWidget::keyPressEvent(QKeyEvent* event) {
  if (isEnter(event) && currentRow() >= 0) {
    const int index = currentRow() + 1;
    run_([&] { file1Click(form_, index); });
    return;
  }
  QListWidget::keyPressEvent(event);
}

void syncFilePane(QWidget* pane) {
  if (!pane) return;
  if (auto* drives = pane->findChild<DriveListWidget*>()) drives->sync();
  if (auto* folders = pane->findChild<FolderListWidget*>()) folders->sync();
  if (auto* files = pane->findChild<FileListWidget*>()) files->sync();
}

}  // namespace plotvane
