// The menu commands and toolbar buttons, each defined once in a table. The
// window builds its menu bar and toolbar from these tables, and every click
// arrives at one dispatch over MenuId.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "app/text_ids.h"

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
  Caption caption;
  std::optional<MenuId> parent;  // none for the menus of the bar
  std::string_view shortcut;     // Qt key sequence text, empty for none
  bool separatorBefore;
  bool checkable = false;  // shows a check mark (and its button a pressed state)
};

// In menu-bar order; a submenu's entries follow their parent.
inline constexpr std::array<MenuEntry, kMenuCount> kMenuTable{{
    {MenuId::mnuFile, "mnuFile", Caption::MenuFile, std::nullopt, "", false},
    {MenuId::mnuFileOpen, "mnuFileOpen", Caption::MenuFileOpen, MenuId::mnuFile, "Ctrl+O", false},
    {MenuId::mnuFileSave, "mnuFileSave", Caption::MenuFileSave, MenuId::mnuFile, "", false},
    {MenuId::mnuFileRedraw, "mnuFileRedraw", Caption::MenuFileRedraw, MenuId::mnuFile, "", false},
    {MenuId::mnuDataSave, "mnuDataSave", Caption::MenuDataSave, MenuId::mnuFile, "Ctrl+S", true},
    {MenuId::mnuDataExcel, "mnuDataExcel", Caption::MenuDataExcel, MenuId::mnuFile, "", false},
    {MenuId::mnuDataExcelData, "mnuDataExcelData", Caption::MenuDataExcelData, MenuId::mnuDataExcel,
     "", false},
    {MenuId::mnuDataExcelLine, "mnuDataExcelLine", Caption::MenuDataExcelLine, MenuId::mnuDataExcel,
     "", false},
    {MenuId::mnuDataExcelPoint, "mnuDataExcelPoint", Caption::MenuDataExcelPoint,
     MenuId::mnuDataExcel, "", false},
    {MenuId::mnuFileExit, "mnuFileExit", Caption::MenuFileExit, MenuId::mnuFile, "", true},
    {MenuId::mnuEdet, "mnuEdet", Caption::MenuEdit, std::nullopt, "", false},
    {MenuId::mnuEdetUndo, "mnuEdetUndo", Caption::MenuEditUndo, MenuId::mnuEdet, "Ctrl+Z", false},
    {MenuId::mnuEdetRedo, "mnuEdetRedo", Caption::MenuEditRedo, MenuId::mnuEdet, "Ctrl+Y", false},
    {MenuId::mnuDataDelSelect, "mnuDataDelSelect", Caption::MenuDataDelSelect, MenuId::mnuEdet, "",
     true},
    {MenuId::mnuDataDelAll, "mnuDataDelAll", Caption::MenuDataDelAll, MenuId::mnuEdet, "", false},
    {MenuId::mnuPict, "mnuPict", Caption::MenuPicture, std::nullopt, "", false},
    {MenuId::mnuSelectAll, "mnuSelectAll", Caption::MenuSelectAll, MenuId::mnuPict, "Ctrl+A",
     false},
    {MenuId::mnuScale, "mnuScale", Caption::MenuScale, MenuId::mnuPict, "", true, true},
    {MenuId::mnuErase, "mnuErase", Caption::MenuErase, MenuId::mnuPict, "", false, true},
    {MenuId::mnuZoomIn, "mnuZoomIn", Caption::MenuZoomIn, MenuId::mnuPict, "", true},
    {MenuId::mnuZoomOut, "mnuZoomOut", Caption::MenuZoomOut, MenuId::mnuPict, "", false},
    {MenuId::mnuPictRot, "mnuPictRot", Caption::MenuRotate, MenuId::mnuPict, "", true},
    {MenuId::mnuFilter, "mnuFilter", Caption::MenuFilter, MenuId::mnuPict, "", false},
    {MenuId::mnuFilterContrast, "mnuFilterContrast", Caption::MenuFilterContrast, MenuId::mnuFilter,
     "", false},
    {MenuId::mnuFilterColormask, "mnuFilterColormask", Caption::MenuFilterColourMask,
     MenuId::mnuFilter, "", false},
    {MenuId::munExe, "munExe", Caption::MenuDigitizing, std::nullopt, "", false},
    {MenuId::mnuExeStart, "mnuExeStart", Caption::MenuExecute, MenuId::munExe, "", false},
    {MenuId::mnuExeCancel, "mnuExeCancel", Caption::MenuCancel, MenuId::munExe, "", false},
    {MenuId::mnuLang, "mnuLang", Caption::MenuLanguage, std::nullopt, "", false},
    {MenuId::mnuLangJP, "mnuLangJP", Caption::MenuJapanese, MenuId::mnuLang, "", false},
    {MenuId::mnuLangENG, "mnuLangENG", Caption::MenuEnglish, MenuId::mnuLang, "", false},
    {MenuId::mnuHelp, "mnuHelp", Caption::MenuHelp, std::nullopt, "", false},
    {MenuId::mnuHelpHelp, "mnuHelpHelp", Caption::MenuHelpHelp, MenuId::mnuHelp, "F1", false},
    {MenuId::mnuHelpV, "mnuHelpV", Caption::MenuAbout, MenuId::mnuHelp, "", false},
}};

constexpr const MenuEntry& menuEntry(MenuId id) {
  return kMenuTable[static_cast<std::size_t>(id)];
}

inline constexpr int kToolbarPositions = 14;

struct ToolbarEntry {
  int position;          // 1-based from the left
  std::string_view key;  // empty: a spacer without key or caption
  std::optional<Caption> caption;
  std::optional<MenuId> command;
};

inline constexpr std::array<ToolbarEntry, kToolbarPositions> kToolbarTable{{
    {1, "", std::nullopt, std::nullopt},
    {2, "btnUndo", Caption::ButtonUndo, MenuId::mnuEdetUndo},
    {3, "btnRedo", Caption::ButtonRedo, MenuId::mnuEdetRedo},
    {4, "", std::nullopt, std::nullopt},
    {5, "btnExeStart", Caption::ButtonExecute, MenuId::mnuExeStart},
    {6, "btnExeCancel", Caption::ButtonCancel, MenuId::mnuExeCancel},
    {7, "", std::nullopt, std::nullopt},
    {8, "btnSelectAll", Caption::ButtonSelectAll, MenuId::mnuSelectAll},
    {9, "", std::nullopt, std::nullopt},
    {10, "btnScale", Caption::ButtonScale, MenuId::mnuScale},
    {11, "btnErase", Caption::ButtonEraser, MenuId::mnuErase},
    {12, "", std::nullopt, std::nullopt},
    {13, "btnZoomIn", Caption::ButtonZoomIn, MenuId::mnuZoomIn},
    {14, "btnZoomOut", Caption::ButtonZoomOut, MenuId::mnuZoomOut},
}};

constexpr bool isCheckable(MenuId id) {
  return menuEntry(id).checkable;
}

// The toolbar position whose button runs this command, if any.
constexpr std::optional<int> toolbarPositionOf(MenuId id) {
  for (const ToolbarEntry& entry : kToolbarTable)
    if (entry.command == id) return entry.position;
  return std::nullopt;
}

}  // namespace plotvane
