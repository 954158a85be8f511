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

SettingsValues values(int language, int running, int saved) {
  return {static_cast<std::int16_t>(language), static_cast<std::int16_t>(running),
          static_cast<std::int16_t>(saved)};
}

void expectValues(const SettingsValues& actual, const SettingsValues& expected,
                  const std::string& what) {
  EXPECT_EQ(actual.language, expected.language) << what;
  EXPECT_EQ(actual.undoBufferSize, expected.undoBufferSize) << what;
  EXPECT_EQ(actual.undoBufferSizeSaved, expected.undoBufferSizeSaved) << what;
}

TEST(SettingsReader, ReadsByteByByteWithEveryQuirk) {
  const struct {
    std::string bytes;
    SettingsValues expected;  // starting from English, 50, 50
  } cases[] = {
      {"Language=Japanese\r\nUndoBufferSize=10\r\n", values(0, 10, 10)},
      {"Language=Deutsch\r\n", values(1, 50, 50)},
      // A line without "=" is glued to the next line's key.
      {"[Settings]\r\nUndoBufferSize=10\r\nLanguage=Japanese\r\n", values(0, 50, 50)},
      // A second "=" discards what stood between the two.
      {"UndoBufferSize=99=12\r\n", values(1, 12, 12)},
      {"Language=Japanese\r\nUndoBufferSize=7", values(0, 7, 7)},  // no final line break
      {"language=Japanese\r\nLanguage =Japanese\r\n", values(1, 50, 50)},
      // Spaces belong to the value: " Japanese" is not Japanese, " 10" is 10.
      {"Language= Japanese\r\nUndoBufferSize= 10\r\n", values(1, 10, 10)},
      {"Language=Japanese\rUndoBufferSize=10\r", values(0, 10, 10)},
      {"Language=Japanese\nUndoBufferSize=4\nUndoBufferSize=9\n", values(0, 9, 9)},
      {"\r\n\r\nFoo=1\r\n", values(1, 50, 50)},
  };
  for (const auto& c : cases) {
    SettingsValues read = values(1, 50, 50);
    applySettingsBytes(c.bytes, read);
    expectValues(read, c.expected, c.bytes);
  }
}

// The running and saved sizes start apart, so "nothing changes" and "not
// taken" (the saved size follows the running one) can be told apart.
TEST(SettingsReader, UndoBufferSizeNumberRule) {
  const struct {
    const char* value;
    int running, saved;
  } cases[] = {
      {"2.5", 2, 2},     {"3.5", 4, 4},     {"0.5", 0, 0},           {"0.4", 0, 0},
      {"12abc", 12, 12}, {"&H10", 16, 16},  {"32767", 32767, 32767}, {"32767.5", 20, 20},
      {"40000", 20, 20}, {"1E400", 20, 20},  // not taken
      {"0", 20, 30},     {"-3", 20, 30},    {"abc", 20, 30},         {"nan", 20, 30},
  };
  for (const auto& c : cases) {
    SettingsValues read = values(1, 20, 30);
    applySettingsBytes(std::string("UndoBufferSize=") + c.value + "\r\n", read);
    expectValues(read, values(1, c.running, c.saved), c.value);
  }
}

TEST(SettingsLocale, JapaneseOnlyForTheTerritoryJP) {
  const struct {
    std::map<std::string, std::string> environment;
    int language;
  } cases[] = {
      {{{"LANG", "ja_JP.UTF-8"}}, 0},
      {{{"LANG", "en_JP"}}, 0},
      {{{"LANG", "ja_JP@euro"}}, 0},
      {{{"LANG", "en_US.UTF-8"}}, 1},
      {{{"LANG", "C"}}, 1},
      {{{"LANG", "ja"}}, 1},
      {{}, 1},
      {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, 1},
      {{{"LC_ALL", ""}, {"LC_MESSAGES", "ja_JP"}, {"LANG", "en_US"}}, 0},
      {{{"LC_CTYPE", "ja_JP"}}, 1},
  };
  for (const auto& c : cases) {
    HeadlessPlatform platform;
    std::string what;
    for (const auto& [name, value] : c.environment) {
      platform.setEnvironment(name, value);
      what += name + "=" + value + " ";
    }
    EXPECT_EQ(languageFromLocale(platform), c.language) << what;
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
  SettingsValues read = values(0, 12, 13);
  readSettings(platform, dir.path(), read);
  expectWarnings({ENOENT});
  expectValues(read, values(0, 12, 13), "missing file");

  writeSettings(platform, dir.path(), values(0, 50, 7));  // only the saved size is written
  expectWarnings({ENOENT});                               // nothing to delete
  EXPECT_EQ(readAll(path), "Language=Japanese\r\nUndoBufferSize=7\r\n");

  writeSettings(platform, dir.path(), values(2, 3, 32767));
  expectWarnings({});
  EXPECT_EQ(readAll(path), "Language=English\r\nUndoBufferSize=32767\r\n");
  readSettings(platform, dir.path(), read);
  expectValues(read, values(1, 32767, 32767), "round trip");
}

TEST_F(SettingsFile, FailuresWarnWithTheSystemsTextAndChangeNothing) {
  writeAll(path, "Language=Japanese\r\n");
  platform.injectFailure(HeadlessPlatform::FileOperation::Read, path, EACCES);
  SettingsValues read = values(1, 50, 50);
  readSettings(platform, dir.path(), read);
  expectWarnings({EACCES});
  expectValues(read, values(1, 50, 50), "unreadable");

  platform.injectFailure(HeadlessPlatform::FileOperation::Write, path, ENOSPC);
  writeSettings(platform, dir.path(), values(1, 50, 50));
  expectWarnings({ENOSPC});

  // A folder in the file's place cannot be deleted or opened, even by root.
  std::filesystem::remove(path);
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  writeSettings(platform, dir.path(), values(0, 50, 50));
  expectWarnings({EISDIR, EISDIR});
  readSettings(platform, dir.path(), read);
  expectWarnings({EISDIR});
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

}  // namespace
}  // namespace plotvane
