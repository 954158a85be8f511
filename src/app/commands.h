// The menu commands and toolbar buttons, each defined once in a table. The
// window builds its menu bar and toolbar from these tables, and every click
// arrives at one dispatch over MenuId.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace plotvane {

enum class MenuId : int {
  mnuFile,
  mnuFileOpen,
  mnuFileSave,
  mnuFileRedraw,
  mnuDataSave,
  mnuDataExcel,
  mnuDataExcelData,
  mnuDataExcelLine,
  mnuDataExcelPoint,
  mnuFileExit,
  mnuEdet,
  mnuEdetUndo,
  mnuEdetRedo,
  mnuDataDelSelect,
  mnuDataDelAll,
  mnuPict,
  mnuSelectAll,
  mnuScale,
  mnuErase,
  mnuZoomIn,
  mnuZoomOut,
  mnuPictRot,
  mnuFilter,
  mnuFilterContrast,
  mnuFilterColormask,
  munExe,
  mnuExeStart,
  mnuExeCancel,
  mnuLang,
  mnuLangJP,
  mnuLangENG,
  mnuHelp,
  mnuHelpHelp,
  mnuHelpV,
};

inline constexpr std::size_t kMenuCount = static_cast<std::size_t>(MenuId::mnuHelpV) + 1;

struct MenuEntry {
  MenuId id;
  std::string_view name;
  int captionIndex;
  std::optional<MenuId> parent;  // none for the menus of the bar
  std::string_view shortcut;     // Qt key sequence text, empty for none
  bool separatorBefore;
};

// In menu-bar order; a submenu's entries follow their parent.
inline constexpr std::array<MenuEntry, kMenuCount> kMenuTable{{
    {MenuId::mnuFile, "mnuFile", 0, std::nullopt, "", false},
    {MenuId::mnuFileOpen, "mnuFileOpen", 1, MenuId::mnuFile, "Ctrl+O", false},
    {MenuId::mnuFileSave, "mnuFileSave", 2, MenuId::mnuFile, "", false},
    {MenuId::mnuFileRedraw, "mnuFileRedraw", 3, MenuId::mnuFile, "", false},
    {MenuId::mnuDataSave, "mnuDataSave", 4, MenuId::mnuFile, "Ctrl+S", true},
    {MenuId::mnuDataExcel, "mnuDataExcel", 5, MenuId::mnuFile, "", false},
    {MenuId::mnuDataExcelData, "mnuDataExcelData", 6, MenuId::mnuDataExcel, "", false},
    {MenuId::mnuDataExcelLine, "mnuDataExcelLine", 7, MenuId::mnuDataExcel, "", false},
    {MenuId::mnuDataExcelPoint, "mnuDataExcelPoint", 8, MenuId::mnuDataExcel, "", false},
    {MenuId::mnuFileExit, "mnuFileExit", 9, MenuId::mnuFile, "", true},
    {MenuId::mnuEdet, "mnuEdet", 10, std::nullopt, "", false},
    {MenuId::mnuEdetUndo, "mnuEdetUndo", 11, MenuId::mnuEdet, "Ctrl+Z", false},
    {MenuId::mnuEdetRedo, "mnuEdetRedo", 12, MenuId::mnuEdet, "Ctrl+Y", false},
    {MenuId::mnuDataDelSelect, "mnuDataDelSelect", 13, MenuId::mnuEdet, "", true},
    {MenuId::mnuDataDelAll, "mnuDataDelAll", 14, MenuId::mnuEdet, "", false},
    {MenuId::mnuPict, "mnuPict", 15, std::nullopt, "", false},
    {MenuId::mnuSelectAll, "mnuSelectAll", 16, MenuId::mnuPict, "Ctrl+A", false},
    {MenuId::mnuScale, "mnuScale", 17, MenuId::mnuPict, "", true},
    {MenuId::mnuErase, "mnuErase", 18, MenuId::mnuPict, "", false},
    {MenuId::mnuZoomIn, "mnuZoomIn", 19, MenuId::mnuPict, "", true},
    {MenuId::mnuZoomOut, "mnuZoomOut", 20, MenuId::mnuPict, "", false},
    {MenuId::mnuPictRot, "mnuPictRot", 21, MenuId::mnuPict, "", true},
    {MenuId::mnuFilter, "mnuFilter", 22, MenuId::mnuPict, "", false},
    {MenuId::mnuFilterContrast, "mnuFilterContrast", 23, MenuId::mnuFilter, "", false},
    {MenuId::mnuFilterColormask, "mnuFilterColormask", 24, MenuId::mnuFilter, "", false},
    {MenuId::munExe, "munExe", 25, std::nullopt, "", false},
    {MenuId::mnuExeStart, "mnuExeStart", 26, MenuId::munExe, "", false},
    {MenuId::mnuExeCancel, "mnuExeCancel", 27, MenuId::munExe, "", false},
    {MenuId::mnuLang, "mnuLang", 28, std::nullopt, "", false},
    {MenuId::mnuLangJP, "mnuLangJP", 29, MenuId::mnuLang, "", false},
    {MenuId::mnuLangENG, "mnuLangENG", 30, MenuId::mnuLang, "", false},
    {MenuId::mnuHelp, "mnuHelp", 31, std::nullopt, "", false},
    {MenuId::mnuHelpHelp, "mnuHelpHelp", 32, MenuId::mnuHelp, "F1", false},
    {MenuId::mnuHelpV, "mnuHelpV", 34, MenuId::mnuHelp, "", false},
}};

constexpr const MenuEntry& menuEntry(MenuId id) {
  return kMenuTable[static_cast<std::size_t>(id)];
}

inline constexpr int kToolbarPositions = 14;

struct ToolbarEntry {
  int position;          // 1-based from the left
  std::string_view key;  // empty: a spacer without key or caption
  int captionIndex;      // -1 for spacers
  std::optional<MenuId> command;
};

inline constexpr std::array<ToolbarEntry, kToolbarPositions> kToolbarTable{{
    {1, "", -1, std::nullopt},
    {2, "btnUndo", 40, MenuId::mnuEdetUndo},
    {3, "btnRedo", 41, MenuId::mnuEdetRedo},
    {4, "", -1, std::nullopt},
    {5, "btnExeStart", 42, MenuId::mnuExeStart},
    {6, "btnExeCancel", 43, MenuId::mnuExeCancel},
    {7, "", -1, std::nullopt},
    {8, "btnSelectAll", 44, MenuId::mnuSelectAll},
    {9, "", -1, std::nullopt},
    {10, "btnScale", 45, MenuId::mnuScale},
    {11, "btnErase", 46, MenuId::mnuErase},
    {12, "", -1, std::nullopt},
    {13, "btnZoomIn", 47, MenuId::mnuZoomIn},
    {14, "btnZoomOut", 48, MenuId::mnuZoomOut},
}};

// The toolbar position whose button runs this command, if any.
constexpr std::optional<int> toolbarPositionOf(MenuId id) {
  for (const ToolbarEntry& entry : kToolbarTable)
    if (entry.command == id) return entry.position;
  return std::nullopt;
}

}  // namespace plotvane
