// The lists of the file pane on screen: Drive1 as a combo box, Dir1 and
// File1 as list widgets. Each mirrors its control model and passes the
// user's actions to the core's handlers.
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"

namespace plotvane {

// Runs a core handler through the window's handler boundary.
using FilePaneRunner = std::function<void(const std::function<void()>&)>;

// Drive1: reads the drives again each time its list opens, since volumes
// come and go.
class DriveListWidget : public QComboBox {
  Q_OBJECT

 public:
  DriveListWidget(Form1& form, FilePaneRunner run, QWidget* parent);
  void sync();
  void showPopup() override;

 private:
  Form1& form_;
  FilePaneRunner run_;
};

// Dir1: the first row names the folder shown, the others are its entries.
// Double click or Enter opens an entry, Backspace goes up; a press on the
// lowest rows starts the drag of its lower border.
class FolderListWidget : public QListWidget {
  Q_OBJECT

 public:
  FolderListWidget(Form1& form, FilePaneRunner run, QWidget* parent);
  void sync();

  // The pointer's distance from the top of the list, in twips.
  int twipsFromTop(const QPointF& viewportPosition) const;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void open(int row);

  Form1& form_;
  FilePaneRunner run_;
  std::string shownPath_;
  std::vector<std::string> shownEntries_;
  bool dragging_ = false;  // a press armed the border drag: the list leaves it alone
};

// File1: a click or Enter on a file loads it.
class FileListWidget : public QListWidget {
  Q_OBJECT

 public:
  FileListWidget(Form1& form, FilePaneRunner run, QWidget* parent);
  void sync();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  Form1& form_;
  FilePaneRunner run_;
  std::string shownPath_;
  std::vector<std::string> shownFiles_;
  int shownSelected_ = 0;
};

// Mirrors the models of the three lists inside the file pane.
void syncFilePane(QWidget* pane);

}  // namespace plotvane
