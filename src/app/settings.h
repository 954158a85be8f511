// The settings file Plotinf.ini (language and undo capacity) and the locale
// rule that picks the language before the file is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace plotvane {

inline constexpr const char* kSettingsFileName = "Plotinf.ini";

// The values the settings file reads and writes. language: 0 Japanese, any
// other value English.
struct SettingsValues {
  std::int16_t language = 1;
  std::int16_t undoBufferSize = 50;
  std::int16_t undoBufferSizeSaved = 50;
};

// 0 (Japanese) when the first non-empty of LC_ALL, LC_MESSAGES and LANG names
// the territory "JP" (the two letters after "_", before any "." or "@"),
// otherwise 1.
std::int16_t languageFromLocale(Platform& platform);

// Applies the contents of a settings file to the values, byte by byte.
void applySettingsBytes(std::string_view bytes, SettingsValues& values);

// The exact bytes the writer puts in the file.
std::string settingsFileBytes(const SettingsValues& values);

// The file in settingsDir; the bare name when the folder could not be read
// (empty), never a file at the root.
std::string settingsFilePath(const std::string& settingsDir);

// The file holds two short lines: more than this is not read.
inline constexpr std::size_t kMaxSettingsBytes = 64 * 1024;

// Reads the file from settingsDir; a file that cannot be opened, or is not
// a regular file (a pipe, a device), shows a warning (exclamation icon):
// the file's path and the description of the error in the language given,
// and changes nothing.
void readSettings(Platform& platform, const std::string& settingsDir, SettingsValues& values,
                  std::int16_t language);

// Replaces the file through a temporary file beside it, so a failed write
// (a full disk) leaves the old file as it was. A missing old file is
// warned about as one that could not be deleted, and a failed write as one
// that could not be created, with the same warnings as readSettings; the
// caller goes on.
void writeSettings(Platform& platform, const std::string& settingsDir, const SettingsValues& values,
                   std::int16_t language);

}  // namespace plotvane
