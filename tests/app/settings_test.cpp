#include "app/settings.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <future>
#include <iterator>
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

void expectValues(const SettingsValues& a, const SettingsValues& b, const std::string& what) {
  EXPECT_EQ(std::tuple(a.language, a.undoBufferSize, a.undoBufferSizeSaved),
            std::tuple(b.language, b.undoBufferSize, b.undoBufferSizeSaved))
      << what;
}

TEST(SettingsReader, ReadsByteByByteWithEveryQuirk) {
  // Read over English, 50, 50: a value not given stays as it was.
  // clang-format off
  const struct {
    std::string bytes; std::int16_t language = kEnglish, running = 50, saved = 50;
  } cases[] = {
      // A line without "=" is glued to the next line's key; a second "=" discards what stood
      // between the two; spaces belong to the value (" 10" is 10).
      {.bytes = "[Settings]\r\nUndoBufferSize=10\r\nLanguage=Japanese\r\n", .language = kJapanese},
      {.bytes = "UndoBufferSize=99=12\r\n", .running = 12, .saved = 12},
      {.bytes = "Language=Japanese\r\nUndoBufferSize=7", .language = kJapanese, .running = 7,
       .saved = 7},
      {.bytes = "Language= Japanese\r\nUndoBufferSize= 10\r\n", .running = 10, .saved = 10},
      {.bytes = "Language=Japanese\rUndoBufferSize=10\r", .language = kJapanese, .running = 10,
       .saved = 10},
      {.bytes = "Language=Japanese\nUndoBufferSize=4\nUndoBufferSize=9\n", .language = kJapanese,
       .running = 9, .saved = 9},
      {.bytes = "\r\n\r\nFoo=1\r\nlanguage=Japanese\r\nLanguage =Japanese\r\n"}};
  // clang-format on
  for (const auto& c : cases) {
    SettingsValues read = values(kEnglish, 50, 50);
    applySettingsBytes(c.bytes, read);
    expectValues(read, values(c.language, c.running, c.saved), ::testing::PrintToString(c.bytes));
  }
}

// The running and saved sizes start apart, so "nothing changes" and "not taken" (the saved size
// follows the running one) can be told apart.
TEST(SettingsReader, UndoBufferSizeNumberRule) {
  // clang-format off
  const struct { const char* value; std::int16_t running, saved; } cases[] = {
      {.value = "2.5", .running = 2, .saved = 2}, {.value = "3.5", .running = 4, .saved = 4},
      {.value = "0.5", .running = 0, .saved = 0}, {.value = "12abc", .running = 12, .saved = 12},
      {.value = "32767", .running = 32767, .saved = 32767},
      {.value = "32767.5", .running = 20, .saved = 20},  // not taken
      {.value = "1E400", .running = 20, .saved = 20},
      {.value = "0", .running = 20, .saved = 30}, {.value = "abc", .running = 20, .saved = 30}};
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
      {.environment = {{"LANG", "ja"}}, .language = kEnglish}, {.environment = {}, .language = kEnglish},
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
  // Each warning names the file, then the error's description.
  void expectWarnings(const std::vector<std::string>& descriptions) {
    ASSERT_EQ(platform.messages().size(), descriptions.size());
    for (std::size_t i = 0; i < descriptions.size(); ++i) {
      EXPECT_EQ(platform.messages()[i].text, path + ": " + descriptions[i]);
      EXPECT_EQ(platform.messages()[i].icon, MessageIcon::Exclamation);
    }
    platform.clearMessages();
  }

  testing::TempWorkingDir dir;
  std::string path = dir.file("Plotinf.ini");
  HeadlessPlatform platform;
};

const std::string kMissing = "No such file or directory";

TEST_F(SettingsFile, WritesExactBytesAndReadsThemBack) {
  SettingsValues read = values(kJapanese, 12, 13);
  readSettings(platform, dir.path(), read, kEnglish);
  expectWarnings({kMissing});
  expectValues(read, values(kJapanese, 12, 13), "missing file");
  // Only the saved size is written; a missing old file is warned about.
  writeSettings(platform, dir.path(), values(kJapanese, 50, 7), kEnglish);
  expectWarnings({kMissing});
  EXPECT_EQ(readAll(path), "Language=Japanese\r\nUndoBufferSize=7\r\n");

  writeSettings(platform, dir.path(), values(2, 3, 32767), kEnglish);
  expectWarnings({});
  EXPECT_EQ(readAll(path), "Language=English\r\nUndoBufferSize=32767\r\n");
  readSettings(platform, dir.path(), read, kEnglish);
  expectValues(read, values(kEnglish, 32767, 32767), "round trip");
  // A folder that cannot be read gives the bare name, never the root.
  EXPECT_EQ(settingsFilePath(""), "Plotinf.ini");
  EXPECT_EQ(settingsFilePath("/"), "/Plotinf.ini");
}

TEST_F(SettingsFile, FailuresWarnWithThePathAndKeepTheOldFile) {
  const std::string good = "Language=Japanese\r\nUndoBufferSize=9\r\n";
  writeAll(path, good);
  platform.injectFailure(HeadlessPlatform::FileOperation::Read, path, EACCES);
  SettingsValues read = values(kEnglish, 50, 50);
  readSettings(platform, dir.path(), read, kEnglish);
  expectWarnings({"Permission denied"});
  expectValues(read, values(kEnglish, 50, 50), "unreadable");

  // A full disk, at each step of the write: the good file stays.
  for (const auto step :
       {HeadlessPlatform::FileOperation::Create, HeadlessPlatform::FileOperation::Write,
        HeadlessPlatform::FileOperation::Close, HeadlessPlatform::FileOperation::Rename}) {
    platform.injectFailure(step, path, ENOSPC);
    writeSettings(platform, dir.path(), values(kEnglish, 50, 50), kEnglish);
    expectWarnings({"No space left on device"});
    EXPECT_EQ(readAll(path), good);
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  // A folder in the file's place cannot be replaced or read, even by root.
  std::filesystem::remove(path);
  ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
  writeSettings(platform, dir.path(), values(kJapanese, 50, 50), kEnglish);
  expectWarnings({"Is a directory", "Is a directory"});
  readSettings(platform, dir.path(), read, kEnglish);
  expectWarnings({"Is a directory"});
  EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(SettingsFile, APipeOrADeviceIsRefusedAtOnceAndAHugeFileReadOnlyAtItsStart) {
  // A pipe nobody writes to: opening it for reading would wait for good.
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  SettingsValues read = values(kEnglish, 50, 50);
  auto reading =
      std::async(std::launch::async, [&] { readSettings(platform, dir.path(), read, kEnglish); });
  if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    ADD_FAILURE() << "reading a pipe blocks";
    close(open(path.c_str(), O_WRONLY));  // lets the blocked read end
  }
  reading.get();
  expectWarnings({"Not a regular file"});
  writeSettings(platform, dir.path(), values(kJapanese, 50, 50), kEnglish);
  expectWarnings({"Not a regular file", "Not a regular file"});

  // Linked to a device that never ends.
  std::filesystem::remove(path);
  std::filesystem::create_symlink("/dev/zero", path);
  readSettings(platform, dir.path(), read, kEnglish);
  expectWarnings({"Not a regular file"});
  expectValues(read, values(kEnglish, 50, 50), "device");

  // A regular file of a megabyte: lines past 64 KiB are not read.
  std::filesystem::remove(path);
  std::string big = "Language=Japanese\r\n";
  big.resize(kMaxSettingsBytes, '\n');
  writeAll(path, big + "UndoBufferSize=7\r\n" + std::string(1 << 20, '\n'));
  readSettings(platform, dir.path(), read, kEnglish);
  expectWarnings({});
  expectValues(read, values(kJapanese, 50, 50), "a megabyte");
}

}  // namespace
}  // namespace plotvane
