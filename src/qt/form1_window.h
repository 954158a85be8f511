// The main window: builds the widgets of every control model of Form1,
// forwards user input to the core's handlers and mirrors the models back.
#pragma once

#include <QMainWindow>
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/handler_boundary.h"
#include "qt/desktop_setup.h"

class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QScrollBar;
class QTabBar;
class QToolButton;

namespace plotvane {

class ControlBinder;
class DataListView;
class DialogWindow;
class PictureView;
class QtPlatform;

class Form1Window : public QMainWindow {
  Q_OBJECT

 public:
  Form1Window(Form1& form, QtPlatform& platform);
  ~Form1Window() override;

  // Start-up: runs the core's start-up and mirrors it. The command-line
  // picture is loaded once the window is shown with its final geometry.
  void start(std::optional<std::string> pictureArgument);

  // Copies every control model into its widget.
  void syncFromModels();

  // Runs a handler through the core's boundary, then mirrors the models.
  template <typename Handler>
  void handle(Handler&& handler) {
    runHandler(form_, std::forward<Handler>(handler));
    afterHandler();
  }

  QWidget* widgetFor(const Control& control) const;
  ControlBinder* binder() const { return binder_; }
  // The window showing a loaded dialog, if any.
  DialogWindow* dialogWindow(DialogId id) const {
    return dialogWindows_[static_cast<std::size_t>(id)];
  }
  QAction* actionFor(MenuId id) const { return actions_[static_cast<std::size_t>(id)]; }
  QMenu* menuFor(MenuId id) const { return menus_[static_cast<std::size_t>(id)]; }
  QToolButton* toolButtonAt(int position) const {
    return toolButtons_[static_cast<std::size_t>(position - 1)];
  }
  QTabBar* tabBar() const { return tabBar_; }
  PictureView* pictureView() const { return pictureView_; }
  // Qt's own texts follow the program's language.
  const QtTranslation& qtTranslation() const { return qtTranslation_; }

  // The window's size before start-up, in design pixels.
  static constexpr QSize kDesignSize{1200, 800};

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Files dropped anywhere on the window (the view and the viewport pass
  // their drops up to it).
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildMenus();
  void buildToolbar();
  void buildPanes();
  void buildSettingsPane();
  void buildFilePane();
  void buildDataPane();
  void buildPicturePane();
  void syncPictureView();
  // Opens a window for every dialog the core loaded and closes the windows
  // of the dialogs it unloaded, then mirrors the open ones.
  void syncDialogs();
  void buildStatusLine();
  QWidget* bind(Control& control, QWidget* widget, bool placed = false);
  void bindLineEdit(Control& control, QWidget* parent);
  void afterHandler();
  void resizeClient();

  Form1& form_;
  QtPlatform& platform_;
  ControlBinder* binder_;
  std::array<DialogWindow*, kDialogCount> dialogWindows_{};
  QWidget* client_ = nullptr;
  std::array<QAction*, kMenuCount> actions_{};
  std::array<QMenu*, kMenuCount> menus_{};
  std::array<QToolButton*, kToolbarPositions> toolButtons_{};
  QWidget* toolbarWidget_ = nullptr;
  QWidget* tabFrame_ = nullptr;
  QTabBar* tabBar_ = nullptr;
  QComboBox* graphTypeCombo_ = nullptr;
  QComboBox* filterCombo_ = nullptr;
  DataListView* listView_ = nullptr;
  PictureView* pictureView_ = nullptr;
  QScrollBar* hScroll_ = nullptr;
  QScrollBar* vScroll_ = nullptr;
  QWidget* statusBar_ = nullptr;
  std::array<QLabel*, 5> statusPanels_{};
  QProgressBar* progressBar_ = nullptr;
  QtTranslation qtTranslation_;
  std::optional<std::string> pendingArgument_;
  bool started_ = false;
  bool shownOnce_ = false;
};

}  // namespace plotvane
