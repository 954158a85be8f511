#include "app/settings.h"

#include "app/file_error_text.h"
#include "base/number_text.h"

namespace plotvane {

namespace {

// The territory of a locale name "language_TERRITORY.codeset@modifier", or
// empty when the name has none.
std::string_view localeTerritory(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  const std::size_t underscore = locale.find('_');
  if (underscore == std::string_view::npos) return {};
  return locale.substr(underscore + 1);
}

void applyUndoBufferSize(std::string_view text, SettingsValues& values) {
  const double number = leadingNumber(text);
  if (!(number > 0)) return;
  try {
    values.undoBufferSize = roundToInt16(number);
  } catch (const OverflowError&) {
    // Too large: the running size stays, and the saved size follows it.
  }
  values.undoBufferSizeSaved = values.undoBufferSize;
}

void applyLine(const std::string& key, const std::string& value, SettingsValues& values) {
  if (key == "Language") {
    values.language = value == "Japanese" ? 0 : 1;
  } else if (key == "UndoBufferSize") {
    applyUndoBufferSize(value, values);
  }
}

void showWarning(Platform& platform, const std::string& path, FileError error,
                 std::int16_t language) {
  platform.messageBox(fileWarningText(path, error, language), MessageButtons::Ok,
                      MessageIcon::Exclamation);
}

}  // namespace

std::int16_t languageFromLocale(Platform& platform) {
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = platform.environmentVariable(name);
    if (!locale.empty()) break;
  }
  return localeTerritory(locale) == "JP" ? 0 : 1;
}

void applySettingsBytes(std::string_view bytes, SettingsValues& values) {
  std::string key;
  std::string value;
  bool afterEquals = false;
  for (const char byte : bytes) {
    if (byte == '=') {
      afterEquals = true;
      value.clear();
    } else if (byte == '\r' || byte == '\n') {
      // A line without "=" keeps its text, which then starts the next key.
      if (afterEquals) {
        applyLine(key, value, values);
        key.clear();
        value.clear();
        afterEquals = false;
      }
    } else if (afterEquals) {
      value += byte;
    } else {
      key += byte;
    }
  }
  if (afterEquals) applyLine(key, value, values);
}

std::string settingsFileBytes(const SettingsValues& values) {
  std::string bytes = values.language != 0 ? "Language=English\r\n" : "Language=Japanese\r\n";
  bytes += "UndoBufferSize=";
  bytes += std::to_string(values.undoBufferSizeSaved);
  bytes += "\r\n";
  return bytes;
}

std::string settingsFilePath(const std::string& settingsDir) {
  return Platform::joinPath(settingsDir, kSettingsFileName);
}

void readSettings(Platform& platform, const std::string& settingsDir, SettingsValues& values,
                  std::int16_t language) {
  const std::string path = settingsFilePath(settingsDir);
  std::string bytes;
  if (const FileError error = platform.readFile(path, kMaxSettingsBytes, bytes)) {
    showWarning(platform, path, error, language);
    return;
  }
  applySettingsBytes(bytes, values);
}

void writeSettings(Platform& platform, const std::string& settingsDir, const SettingsValues& values,
                   std::int16_t language) {
  const std::string path = settingsFilePath(settingsDir);
  if (const FileError error = platform.regularFileCheck(path))
    showWarning(platform, path, error, language);
  if (const FileError error = platform.replaceFile(path, settingsFileBytes(values)))
    showWarning(platform, path, error, language);
}

}  // namespace plotvane
