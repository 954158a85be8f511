#include "app/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using testing::readAll;
using testing::writeAll;

// The language values; any value other than 0 counts as English.
constexpr std::int16_t kJapanese = 0, kEnglish = 1;

SettingsValues values(std::int16_t language, std::int16_t running, std::int16_t saved) {
  return {.language = language, .undoBufferSize = running, .undoBufferSizeSaved = saved};
}

void expectValues(const SettingsValues& actual, const SettingsValues& expected,
                  const std::string& what) {
  EXPECT_EQ(actual.language, expected.language) << what;
  EXPECT_EQ(actual.undoBufferSize, expected.undoBufferSize) << what;
  EXPECT_EQ(actual.undoBufferSizeSaved, expected.undoBufferSizeSaved) << what;
}

TEST(SettingsReader, ReadsByteByByteWithEveryQuirk) {
  // Read over English, 50, 50: a value not given stays as it was.
  // clang-format off
  const struct {
    std::string bytes; std::int16_t language = kEnglish, running = 50, saved = 50;
  } cases[] = {
      {.bytes = "Language=Japanese\r\nUndoBufferSize=10\r\n", .language = kJapanese, .running = 10,
       .saved = 10},
      {.bytes = "Language=Deutsch\r\n"},
      // A line without "=" is glued to the next line's key.
      {.bytes = "[Settings]\r\nUndoBufferSize=10\r\nLanguage=Japanese\r\n", .language = kJapanese},
      // A second "=" discards what stood between the two.
      {.bytes = "UndoBufferSize=99=12\r\n", .running = 12, .saved = 12},
      // No final line break.
      {.bytes = "Language=Japanese\r\nUndoBufferSize=7", .language = kJapanese, .running = 7,
       .saved = 7},
      {.bytes = "language=Japanese\r\nLanguage =Japanese\r\n"},
      // Spaces belong to the value: " Japanese" is not Japanese, " 10" is 10.
      {.bytes = "Language= Japanese\r\nUndoBufferSize= 10\r\n", .running = 10, .saved = 10},
      {.bytes = "Language=Japanese\rUndoBufferSize=10\r", .language = kJapanese, .running = 10,
       .saved = 10},
      {.bytes = "Language=Japanese\nUndoBufferSize=4\nUndoBufferSize=9\n", .language = kJapanese,
       .running = 9, .saved = 9},
      {.bytes = "\r\n\r\nFoo=1\r\n"}};
  // clang-format on
  for (const auto& c : cases) {
    SettingsValues read = values(kEnglish, 50, 50);
    applySettingsBytes(c.bytes, read);
    expectValues(read, values(c.language, c.running, c.saved), ::testing::PrintToString(c.bytes));
  }
}

// The running and saved sizes start apart, so "nothing changes" and "not
// taken" (the saved size follows the running one) can be told apart.
TEST(SettingsReader, UndoBufferSizeNumberRule) {
  // clang-format off
  const struct { const char* value; std::int16_t running, saved; } cases[] = {
      {.value = "2.5", .running = 2, .saved = 2}, {.value = "3.5", .running = 4, .saved = 4},
      {.value = "0.5", .running = 0, .saved = 0}, {.value = "0.4", .running = 0, .saved = 0},
      {.value = "12abc", .running = 12, .saved = 12}, {.value = "&H10", .running = 16, .saved = 16},
      {.value = "32767", .running = 32767, .saved = 32767},
      // Not taken.
      {.value = "32767.5", .running = 20, .saved = 20},
      {.value = "40000", .running = 20, .saved = 20},
      {.value = "1E400", .running = 20, .saved = 20},
      // Nothing changes.
      {.value = "0", .running = 20, .saved = 30}, {.value = "-3", .running = 20, .saved = 30},
      {.value = "abc", .running = 20, .saved = 30}, {.value = "nan", .running = 20, .saved = 30}};
  // clang-format on
  for (const auto& c : cases) {
    SettingsValues read = values(kEnglish, 20, 30);
    applySettingsBytes(std::string("UndoBufferSize=") + c.value + "\r\n", read);
    expectValues(read, values(kEnglish, c.running, c.saved), c.value);
  }
}

TEST(SettingsLocale, JapaneseOnlyForTheTerritoryJP) {
  // clang-format off
  const struct {
    std::map<std::string, std::string> environment; std::int16_t language;
  } cases[] = {
      {.environment = {{"LANG", "ja_JP.UTF-8"}}, .language = kJapanese},
      {.environment = {{"LANG", "en_JP"}}, .language = kJapanese},
      {.environment = {{"LANG", "ja_JP@euro"}}, .language = kJapanese},
      {.environment = {{"LANG", "en_US.UTF-8"}}, .language = kEnglish},
      {.environment = {{"LANG", "C"}}, .language = kEnglish},
      {.environment = {{"LANG", "ja"}}, .language = kEnglish},
      {.environment = {}, .language = kEnglish},
      {.environment = {{"LC_ALL", "en_US.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, .language = kEnglish},
      {.environment = {{"LC_ALL", ""}, {"LC_MESSAGES", "ja_JP"}, {"LANG", "en_US"}},
       .language = kJapanese},
      {.environment = {{"LC_CTYPE", "ja_JP"}}, .language = kEnglish}};
  // clang-format on
  for (const auto& c : cases) {
    HeadlessPlatform platform;
    for (const auto& [name, value] : c.environment) platform.setEnvironment(name, value);
    EXPECT_EQ(languageFromLocale(platform), c.language) << ::testing::PrintToString(c.environment);
  }
}

class SettingsFile : public ::testing::Test {
 protected:
  void expectWarnings(const std::vector<int>& errors) {
    ASSERT_EQ(platform.messages().size(), errors.size());
    for (std::size_t i = 0; i < errors.size(); ++i) {
      EXPECT_EQ(platform.messages()[i].text, std::strerror(errors[i]));
      EXPECT_EQ(platform.messages()[i].icon, MessageIcon::Exclamation);
    }
    platform.clearMessages();
  }

  testing::TempWorkingDir dir;
  std::string path = dir.file("Plotinf.ini");
  HeadlessPlatform platform;
};

TEST_F(SettingsFile, WritesExactBytesAndReadsThemBack) {
  SettingsValues read = values(kJapanese, 12, 13);
  readSettings(platform, dir.path(), read);
  expectWarnings({ENOENT});
  expectValues(read, values(kJapanese, 12, 13), "missing file");

  writeSettings(platform, dir.path(), values(kJapanese, 50, 7));  // only the saved size is written
  expectWarnings({ENOENT});                                       // nothing to delete
  EXPECT_EQ(readAll(path), "Language=Japanese\r\nUndoBufferSize=7\r\n");

  writeSettings(platform, dir.path(), values(2, 3, 32767));
  expectWarnings({});
  EXPECT_EQ(readAll(path), "Language=English\r\nUndoBufferSize=32767\r\n");
  readSettings(platform, dir.path(), read);
  expectValues(read, values(kEnglish, 32767, 32767), "round trip");
}

TEST_F(SettingsFile, FailuresWarnWithTheSystemsTextAndChangeNothing) {
  writeAll(path, "Language=Japanese\r\n");
  platform.injectFailure(HeadlessPlatform::FileOperation::Read, path, EACCES);
  SettingsValues read = values(kEnglish, 50, 50);
  readSettings(platform, dir.path(), read);
  expectWarnings({EACCES});
  expectValues(read, values(kEnglish, 50, 50), "unreadable");

  platform.injectFailure(HeadlessPlatform::FileOperation::Write, path, ENOSPC);
  writeSettings(platform, dir.path(), values(kEnglish, 50, 50));
  expectWarnings({ENOSPC});

  // A folder in the file's place cannot be deleted or opened, even by root.
  std::filesystem::remove(path);
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  writeSettings(platform, dir.path(), values(kJapanese, 50, 50));
  expectWarnings({EISDIR, EISDIR});
  readSettings(platform, dir.path(), read);
  expectWarnings({EISDIR});
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
}  // namespace plotvane
