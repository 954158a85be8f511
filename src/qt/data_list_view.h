// ListView1 as a Qt model/view list over the rows of its control model. The
// model reads the rows where they are; a sync inserts only the rows appended
// since the last one and rebuilds only after a removal, so a run filling
// 32 767 points never rebuilds the view.
#pragma once

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <functional>

#include "app/form1.h"

namespace plotvane {

class DataListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  DataListModel(const ListViewControl& list, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  // Rows appended since the last sync are inserted; a removal of rows or
  // other columns resets the model. Returns whether the model was reset.
  bool sync();

  // Whether the list has rows that the model does not show yet, and nothing
  // but appending happened since the last sync.
  bool onlyAppended() const;

 private:
  const ListViewControl& list_;
  int shownRows_ = 0;
  unsigned long long shownRemovals_ = 0;
  QStringList captions_;
};

class DataListView : public QTableView {
  Q_OBJECT

 public:
  // Runs a core handler through the window's handler boundary.
  using Runner = std::function<void(const std::function<void()>&)>;

  DataListView(Form1& form, Runner run, QWidget* parent);

  // Mirrors ListView1: rows, column captions and widths, the selected row.
  // Appended rows arriving faster than kCatchUpMs apart are shown together
  // by a timer, so that a run's every yield does not repaint the list.
  void sync();

  static constexpr int kCatchUpMs = 40;

 protected:
  // Delete removes the selected row; Copy (Ctrl+C) copies the rows.
  void keyPressEvent(QKeyEvent* event) override;
  // A menu with Copy.
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  Form1& form_;
  Runner run_;
  DataListModel* model_;
  QElapsedTimer sinceCatchUp_;
  QTimer catchUp_;
  bool syncing_ = false;
};

}  // namespace plotvane
