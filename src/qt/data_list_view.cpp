#include "qt/data_list_view.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <cmath>

#include "data/data_list.h"
#include "data/list_copy.h"

namespace plotvane {

DataListModel::DataListModel(const ListViewControl& list, QObject* parent)
    : QAbstractTableModel(parent), list_(list) {}

int DataListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shownRows_;
}

int DataListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(captions_.size());
}

QVariant DataListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid()) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const auto column = static_cast<std::size_t>(index.column());
  if (row >= list_.rows.size() || column >= list_.rows[row].cells.size()) return {};
  return QString::fromStdString(list_.rows[row].cells[column]);
}

QVariant DataListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= captions_.size())
    return {};
  return captions_[section];
}

bool DataListModel::sync() {
  QStringList captions;
  for (const ListColumn& column : list_.columns) captions << QString::fromStdString(column.text);
  const int rows = static_cast<int>(list_.rows.size());
  if (captions.size() != captions_.size() || list_.removals != shownRemovals_ ||
      rows < shownRows_) {
    beginResetModel();
    captions_ = captions;
    shownRows_ = rows;
    shownRemovals_ = list_.removals;
    endResetModel();
    return true;
  }
  if (captions != captions_) {
    captions_ = captions;
    emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(captions_.size()) - 1);
  }
  if (rows > shownRows_) {
    beginInsertRows(QModelIndex(), shownRows_, rows - 1);
    shownRows_ = rows;
    endInsertRows();
  }
  return false;
}

bool DataListModel::onlyAppended() const {
  return list_.removals == shownRemovals_ && static_cast<int>(list_.rows.size()) > shownRows_ &&
         static_cast<int>(list_.columns.size()) == captions_.size();
}

DataListView::DataListView(Form1& form, Runner run, QWidget* parent)
    : QTableView(parent),
      form_(form),
      run_(std::move(run)),
      model_(new DataListModel(form.ui.ListView1, this)) {
  setModel(model_);
  setSortingEnabled(false);  // a click on a column header does nothing
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);
  catchUp_.setSingleShot(true);
  connect(&catchUp_, &QTimer::timeout, this, [this] { sync(); });

  connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
    if (syncing_ || !index.isValid()) return;
    const auto row = static_cast<std::size_t>(index.row());
    run_([this, row] { ListView1ItemClick(form_, row); });
  });
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (syncing_) return;
            std::optional<std::size_t> row;
            if (current.isValid()) row = static_cast<std::size_t>(current.row());
            run_([this, row] { plotvane::selectRow(form_.ui.ListView1, row); });
          });
}

void DataListView::sync() {
  if (syncing_) return;
  if (model_->onlyAppended() && sinceCatchUp_.isValid() && sinceCatchUp_.elapsed() < kCatchUpMs) {
    if (!catchUp_.isActive())
      catchUp_.start(kCatchUpMs - static_cast<int>(sinceCatchUp_.elapsed()));
    return;
  }
  catchUp_.stop();
  sinceCatchUp_.start();
  syncing_ = true;
  const ListViewControl& list = form_.ui.ListView1;
  const int previousColumns = model_->columnCount();
  const bool reset = model_->sync();
  if (reset && model_->columnCount() != previousColumns) {
    for (std::size_t column = 0; column < list.columns.size(); ++column)
      setColumnWidth(static_cast<int>(column),
                     static_cast<int>(
                         std::nearbyint(list.columns[column].widthTwips / double(kTwipsPerPixel))));
  }

  const std::optional<std::size_t> wanted = plotvane::selectedRow(list);
  const QModelIndexList shown = selectionModel()->selectedRows();
  const int shownRow = shown.isEmpty() ? -1 : shown.first().row();
  const int wantedRow = wanted ? static_cast<int>(*wanted) : -1;
  if (shownRow != wantedRow && wantedRow < model_->rowCount()) {
    if (wantedRow < 0) {
      selectionModel()->clearSelection();
    } else {
      const QModelIndex index = model_->index(wantedRow, 0);
      selectionModel()->setCurrentIndex(
          index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
  }
  syncing_ = false;
}

void DataListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    run_([this] { ListView1KeyDown(form_, kDeleteKey); });
    event->accept();
    return;
  }
  // The table, not the one cell Qt would copy.
  if (event->matches(QKeySequence::Copy)) {
    run_([this] { ListView1Copy(form_); });
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void DataListView::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(QString::fromStdString(form_.caption(Caption::CopyList)));
  copy->setObjectName(QStringLiteral("ListView1Copy"));
  copy->setShortcut(QKeySequence::Copy);
  copy->setEnabled(model_->rowCount() > 0);
  connect(copy, &QAction::triggered, this, [this] { run_([this] { ListView1Copy(form_); }); });
  menu.exec(event->globalPos());
  event->accept();
}

void DataListView::mouseMoveEvent(QMouseEvent* event) {
  // Keys such as Delete act on the list the mouse is over, unless a text
  // field is being edited (ListView1MouseMove). Read here without a handler
  // run: a pointer move must not mirror the whole window.
  if (!hasFocus() && !form_.ui.editingText()) setFocus(Qt::MouseFocusReason);
  QTableView::mouseMoveEvent(event);
}

void DataListView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  run_([this] {
    form_.ui.focused = &form_.ui.ListView1;
    ListView1GotFocus(form_);
  });
}

void DataListView::focusOutEvent(QFocusEvent* event) {
  QTableView::focusOutEvent(event);
  if (form_.ui.focused == &form_.ui.ListView1) form_.ui.focused = nullptr;
}

}  // namespace plotvane
