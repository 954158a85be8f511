// The application record, the main-window record and the models of every
// control of the main window, gathered in Form1: the one object that every
// handler of the main window works on.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/dialog.h"
#include "app/text_ids.h"
#include "base/data_point.h"
#include "base/pixel_array.h"
#include "base/pixel_rect.h"
#include "picture/working_picture.h"
#include "platform/controls.h"
#include "platform/platform.h"

namespace plotvane {

// What a press of the left button on the picture does. The scale and
// eraser commands switch between the first two; with both off it is None.
enum class PictureTool { Scale, Eraser, None };

// Lives for the whole run.
struct AppState {
  std::int16_t language = 1;  // 0 Japanese, any other value English
  std::array<std::string, kCaptionCount> captionTable;
  std::array<std::string, kMessageCount> messageTable;
  bool cancelRequested = false;  // the Cancel command asks a running loop to stop
  std::int16_t onGrid = 1;       // chkOnGrid's value: 1 on, 0 off
  float gridStep = 0.5f;
  std::int16_t undoBufferSize = 50;
  std::int16_t undoBufferSizeSaved = 50;
  // The undo history: undoBufferSize + 1 records, made at start-up once the
  // settings are read (undoSnapshots, undoCursor, undoCount, redoCount).
  std::shared_ptr<UndoRing> undoRing;
  std::int16_t pointCount = 0;
  std::vector<DataPoint> dataPoints;
  float zoom = 0;  // 0 until a picture is loaded
  // Added to the angle of the next rotation; back to 0 after every rotation.
  float rotationBase = 0;
};

// Fields of the main window.
struct FormState {
  std::string settingsDir;
  std::string startDir;
  std::string picturePath;
  // Why the last picture read was refused, in English for the command
  // line's report; empty after a good one.
  std::string pictureFailure;
  PictureTool tool = PictureTool::Scale;
  bool dragSnapshotTaken = false;  // the current press on the picture became a drag
  std::int16_t dragTarget = 0;
  std::int16_t dragStartX = 0, dragStartY = 0;  // display position of the last left press
  float minX = 0, maxX = 0, minY = 0, maxY = 0;
  float lastMouseX = 0, lastMouseY = 0;
  bool closed = false;          // shut-down has run; the window goes away
  bool runActive = false;       // a digitizing run is under way (it yields to events)
  int runGraphType = 0;         // the graph type of the run under way
  bool closeRequested = false;  // the window was closed during a run
  // A pop-up menu that a handler opened at the pointer; the window shows it
  // once the handler is done and clears the request.
  std::optional<MenuId> popupMenu;
  int clientWidth = 0, clientHeight = 0;  // client area in twips
  int dataFileType = 1;                   // filter last chosen in the Save Data dialog, 1-based
  // The colour chooser opens on its last result (0xRRGGBB), black at first.
  std::uint32_t chooserColour = 0;
  // On-picture value fields whose text does not read as a number: shown in
  // an error style until the text converts or the program writes the field.
  struct {
    bool txtLXS = false, txtLXE = false, txtLYT = false, txtLYB = false;
  } valueFieldInvalid;
  // The working picture at full size with its reference rectangle.
  WorkingPicture Picture2;
  // What Picture1 shows: the scaled copy and what is drawn into it, exactly
  // Picture1's size in pixels. The window paints it as it is.
  PixelArray Picture1Image;
  // Counts the redraws of Picture1Image, so the window repaints only after one.
  std::uint64_t picture1Version = 0;
  // Display position of the last trace polyline vertex, where the next
  // segment starts.
  std::int16_t polylinePrevX = 0, polylinePrevY = 0;
};

// A line control over the picture: end points in Picture1 pixels.
struct LineControl : Control {
  explicit LineControl(std::string controlName, bool shown) : Control(std::move(controlName)) {
    visible = shown;
  }
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// A square drawn over the picture (a footprint that follows the pointer),
// hidden until shown; its place and size in Picture1 pixels, fractional
// like the pointer positions they come from.
struct ShapeControl : Control {
  explicit ShapeControl(std::string controlName) : Control(std::move(controlName)) {
    visible = false;
  }
  float left = 0, top = 0, width = 0, height = 0;
};

// The folder list of the file pane: the folder it shows and what can be
// opened from there.
struct FolderListControl : Control {
  using Control::Control;
  std::string path;                  // absolute, no trailing "/" except the root
  std::vector<std::string> entries;  // ".." (unless at the root), then the subfolders
  // The height the user gave it by dragging its lower border; the pane
  // shows less when the window has no room for it.
  int preferredHeight = 0;
  bool resizePointer = false;  // the pointer over it is the north-south arrow
};

// The file list of the file pane: its folder and the names there matching
// its patterns.
struct FileListControl : Control {
  using Control::Control;
  std::string path;
  std::string pattern;  // ";"-separated, "*" and "?", any case
  std::vector<std::string> files;
  int selected = 0;  // 1-based, 0 for none
};

struct ToolButtonModel {
  std::string key;  // empty for spacers
  std::string caption;
  bool enabled = true;
  int value = 0;  // 1 = shown pressed
};

struct Form1Controls {
  Form1Controls();

  Control form{"Form1"};
  std::array<Control, kMenuCount> menus;
  std::array<ToolButtonModel, kToolbarPositions> toolbar;
  TabStripControl TabStrip1{"TabStrip1"};

  // Settings pane.
  Control frameSetting{"frameSetting"};
  Control Frame5{"Frame5"};
  ComboControl cmbGraphType{"cmbGraphType"};
  Control Frame1{"Frame1"};
  Control Label8{"Label8"}, txtMaxLabelX{"txtMaxLabelX"};
  Control Label6{"Label6"}, txtMinLabelX{"txtMinLabelX"};
  Control Label9{"Label9"}, txtSmpX{"txtSmpX"};
  Control Label10{"Label10"}, txtStpX{"txtStpX"};
  Control Frame2{"Frame2"};
  Control Label19{"Label19"}, txtMaxLabelY{"txtMaxLabelY"};
  Control Label18{"Label18"}, txtMinLabelY{"txtMinLabelY"};
  Control Frame4{"Frame4"};
  Control chkOnGrid{"chkOnGrid"}, txtGrid{"txtGrid"};
  Control chkExcel{"chkExcel"};
  Control LabelErs{"LabelErs"}, txtErs{"txtErs"};
  Control Label1{"Label1"};
  ComboControl cmbFRange{"cmbFRange"};
  Control Label21{"Label21"}, txtPicUpRange{"txtPicUpRange"};

  // File pane.
  Control frameFile{"frameFile"};
  ComboControl Drive1{"Drive1"};  // items are the roots of the file system
  FolderListControl Dir1{"Dir1"};
  FileListControl File1{"File1"};
  Control Label20{"Label20"}, txtMD{"txtMD"};

  // Data pane.
  Control frameList{"frameList"};
  Control cmdSendExcel{"cmdSendExcel"}, cmdSaveData{"cmdSaveData"}, cmdListDelAll{"cmdListDelAll"};
  ListViewControl ListView1{"ListView1"};

  // Picture pane.
  Control Picture3{"Picture3"}, Picture1{"Picture1"};
  ScrollBarControl HScroll1{"HScroll1"}, VScroll1{"VScroll1"};
  Control txtLXS{"txtLXS"}, txtLXE{"txtLXE"}, txtLYT{"txtLYT"}, txtLYB{"txtLYB"};
  // The reference rectangle's edges (left, right, top, bottom) and their
  // extensions to the top, bottom, left and right border of the view.
  LineControl Line1{"Line1", true}, Line2{"Line2", true}, Line3{"Line3", true},
      Line4{"Line4", true};
  LineControl LineT1{"LineT1", true}, LineT2{"LineT2", true}, LineB1{"LineB1", true},
      LineB2{"LineB2", true};
  LineControl LineL1{"LineL1", true}, LineL2{"LineL2", true}, LineR1{"LineR1", true},
      LineR2{"LineR2", true};
  // The data list's point marker and the two footprints start hidden.
  LineControl Line5{"Line5", false}, Line6{"Line6", false};
  ShapeControl shapPicUpRange{"shapPicUpRange"}, shapEraseRange{"shapEraseRange"};

  // Status line.
  StatusBarControl StatusBar1{"StatusBar1"};
  Control Text1{"Text1"}, Text2{"Text2"};
  ProgressBarControl ProgressBar1{"ProgressBar1"};

  // The field that holds the keyboard focus, kept up to date by the window.
  const Control* focused = nullptr;
  // A control that a handler gave the keyboard focus; the window moves the
  // focus there once the handler is done and clears the request.
  const Control* focusRequest = nullptr;

  // Whether the focused control is a field that takes typed text (a text
  // field or the Y-filtering combo): its keys, Delete among them, belong to
  // it, so hovering elsewhere must not take the focus away.
  bool editingText() const;

  Control& menu(MenuId id) { return menus[static_cast<std::size_t>(id)]; }
  const Control& menu(MenuId id) const { return menus[static_cast<std::size_t>(id)]; }
  ToolButtonModel& toolButton(int position) {
    return toolbar[static_cast<std::size_t>(position - 1)];
  }
};

class Form1 {
 public:
  explicit Form1(Platform& platform) : platform(platform) {}
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  Platform& platform;
  AppState app;
  FormState state;
  Form1Controls ui;

  // The dialogs that are loaded; empty slots are closed dialogs.
  std::array<std::shared_ptr<Dialog>, kDialogCount> dialogs;
  // Puts the model in its slot; an exclusive dialog disables the main
  // window until it unloads.
  void loadDialog(std::shared_ptr<Dialog> model);
  // Drops the model of a loaded dialog, enabling the main window again
  // after an exclusive one.
  void unloadDialog(DialogId id);
  Dialog* dialog(DialogId id) const { return dialogs[static_cast<std::size_t>(id)].get(); }
  template <typename Model>
  Model* dialogAs(DialogId id) const {
    return static_cast<Model*>(dialog(id));
  }

  const std::string& caption(Caption id) const { return app.captionTable.at(tableIndex(id)); }
  const std::string& message(Message id) const { return app.messageTable.at(tableIndex(id)); }

  // The text of a status panel.
  void setPanel(StatusPanel panel, std::string text);

  // A command and its toolbar button share one enabled state.
  void setCommandEnabled(MenuId id, bool enabled);

  // Shows a message box titled "Plotvane" with OK and no icon.
  void showMessage(const std::string& text);
};

}  // namespace plotvane
