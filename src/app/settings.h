// The settings file Plotinf.ini (language and undo capacity) and the locale
// rule that picks the language before the file is read.
#pragma once

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

std::string settingsFilePath(const std::string& settingsDir);

// Reads the file from settingsDir; a file that cannot be opened shows the
// system's description of the error (exclamation icon) and changes nothing.
void readSettings(Platform& platform, const std::string& settingsDir, SettingsValues& values);

// Deletes and re-creates the file; failures are shown as warnings and the
// caller goes on.
void writeSettings(Platform& platform, const std::string& settingsDir,
                   const SettingsValues& values);

}  // namespace plotvane
