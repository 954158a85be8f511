// Names for the numbers that stand for texts and places: the entries of the
// caption and message tables (each keeps its table number), the tabs of
// TabStrip1 and the panels of StatusBar1.
#pragma once

#include <cstddef>

namespace plotvane {

enum class Caption : int {
  // Menus and their commands.
  MenuFile = 0,
  MenuFileOpen = 1,
  MenuFileSave = 2,
  MenuFileRedraw = 3,
  MenuDataSave = 4,
  MenuDataExcel = 5,
  MenuDataExcelData = 6,
  MenuDataExcelLine = 7,
  MenuDataExcelPoint = 8,
  MenuFileExit = 9,
  MenuEdit = 10,
  MenuEditUndo = 11,
  MenuEditRedo = 12,
  MenuDataDelSelect = 13,
  MenuDataDelAll = 14,
  MenuPicture = 15,
  MenuSelectAll = 16,
  MenuScale = 17,
  MenuErase = 18,
  MenuZoomIn = 19,
  MenuZoomOut = 20,
  MenuRotate = 21,
  MenuFilter = 22,
  MenuFilterContrast = 23,
  MenuFilterColourMask = 24,
  MenuDigitizing = 25,
  MenuExecute = 26,
  MenuCancel = 27,
  MenuLanguage = 28,
  MenuJapanese = 29,
  MenuEnglish = 30,
  MenuHelp = 31,
  MenuHelpHelp = 32,
  MenuAbout = 34,
  // Toolbar buttons.
  ButtonUndo = 40,
  ButtonRedo = 41,
  ButtonExecute = 42,
  ButtonCancel = 43,
  ButtonSelectAll = 44,
  ButtonScale = 45,
  ButtonEraser = 46,
  ButtonZoomIn = 47,
  ButtonZoomOut = 48,
  // Settings pane.
  GraphTypeFrame = 49,
  XAxisFrame = 50,
  XMaxScale = 51,
  XMinScale = 52,
  Division = 53,
  Pitch = 54,
  YAxisFrame = 55,
  YMinScale = 56,
  YMaxScale = 57,
  OptionFrame = 58,
  ExcelAutoExport = 59,
  EraserSize = 60,
  YFiltering = 61,
  PickUpArea = 62,
  // Data pane buttons.
  SendExcel = 63,
  SaveData = 64,
  ClearList = 65,
  // Status panel captions, in panel order.
  PanelX = 66,
  PanelY = 67,
  SelectedArea = 68,
  PictureSize = 69,
  Magnification = 70,
  PictureFile = 71,
  // Tabs, in tab order.
  TabSetting = 72,
  TabFile = 73,
  TabData = 74,
  // Graph types, in the combo's order.
  TraceLine = 75,
  PlotAllPoints = 76,
  PlotOnePoint = 77,
  TraceSurface = 78,
  ManualPlotting = 79,
  // Data list columns, in order.
  ColumnNumber = 80,
  ColumnXData = 81,
  ColumnYData = 82,
  ColumnXPixel = 83,
  ColumnYPixel = 84,
  OnGrid = 85,
  AboutTitle = 101,
  // Rotation dialog.
  RotateTitle = 110,
  RotateFrame = 111,
  RotateCcw = 112,
  RotateCw = 113,
  RotateAngle = 114,
  RotateCancel = 115,
  RotateOk = 116,
  // Colour mask dialog.
  ColourMaskTitle = 120,
  ColourMaskCancel = 121,
  ColourMaskOk = 122,
  ColourMaskOption = 123,
  KeepSelectedColour = 124,
  RemoveSelectedColour = 125,
  PickColourHint = 126,
  ColourRange = 127,
  ColourSwatch = 128,
  // Brightness and contrast dialog.
  ContrastTitle = 130,
  ContrastCancel = 131,
  ContrastOk = 132,
  Brightness = 133,
  Contrast = 134,
  // File dialogs.
  SavePictureTitle = 140,
  BitmapFiles = 141,
  AllFiles = 142,
  SaveDataTitle = 143,
  CsvCommaFiles = 144,
  TextTabFiles = 145,
  TextSpaceFiles = 146,
  TextCommaFiles = 147,
  // Message window of the spreadsheet export.
  ExcelBusy = 148,
  ExcelDone = 149,
  OpenPictureTitle = 150,
  AllPictureFiles = 151,
  JpegFiles = 152,
  GifFiles = 153,
  // The program's own captions, past the given ones: the status line while
  // a picture loads, the data list's Copy,
  // and the names that assistive tools announce for the controls without a
  // caption of their own.
  CopyList = 160,
  NamePicture = 161,
  NameGridPitch = 162,
  NamePointerX = 163,
  NamePointerY = 164,
  NameResizeFlag = 165,
  NameDataList = 166,
  NameDrives = 167,
  NameFolders = 168,
  LoadingPicture = 169,
};

enum class Message : int {
  OverwriteFile = 0,
  ExcelUnsupported = 1,
  WholeNumberRequired = 2,
  ZeroNotAllowed = 3,
  HelpFileMissing = 4,
  UnsupportedFile = 5,
  ListFull = 6,
  FilterOddNumber = 7,
  CountOutOfRange = 8,
  // The program's own messages, past the given ones.
  Overflow = 9,
  ClickDuringRun = 10,
  OutOfMemory = 11,
  UnexpectedError = 12,
  // A blob of Plot All Points without a dark cell: the run ends.
  CentroidError = 13,
  RotatedPictureTooLarge = 30,
  HelpPageNotOpened = 31,
};

inline constexpr std::size_t kCaptionCount = 201;
inline constexpr std::size_t kMessageCount = 101;

constexpr std::size_t tableIndex(Caption caption) {
  return static_cast<std::size_t>(caption);
}
constexpr std::size_t tableIndex(Message message) {
  return static_cast<std::size_t>(message);
}

// The tabs of TabStrip1, as its 1-based selection.
enum class Pane : int { Setting = 1, File = 2, Data = 3 };

// The panels of StatusBar1, as indexes of its panel texts.
enum class StatusPanel : std::size_t {
  CursorX = 0,
  CursorY = 1,
  SelectedArea = 2,
  PictureSize = 3,
  Magnification = 4,
};
inline constexpr std::size_t kStatusPanelCount = 5;

}  // namespace plotvane
