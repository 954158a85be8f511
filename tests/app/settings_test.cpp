#include "app/settings.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/headless_platform.h"

namespace plotvane {
namespace {

struct Values {
  int language;
  int undoBufferSize;
  int undoBufferSizeSaved;
};

SettingsValues make(const Values& v) {
  SettingsValues values;
  values.language = static_cast<std::int16_t>(v.language);
  values.undoBufferSize = static_cast<std::int16_t>(v.undoBufferSize);
  values.undoBufferSizeSaved = static_cast<std::int16_t>(v.undoBufferSizeSaved);
  return values;
}

void expectValues(const SettingsValues& actual, const Values& expected, const std::string& what) {
  EXPECT_EQ(actual.language, expected.language) << what;
  EXPECT_EQ(actual.undoBufferSize, expected.undoBufferSize) << what;
  EXPECT_EQ(actual.undoBufferSizeSaved, expected.undoBufferSizeSaved) << what;
}

TEST(SettingsReader, LineStructureQuirks) {
  struct Case {
    const char* what;
    std::string bytes;
    Values start;
    Values expected;
  };
  const std::vector<Case> cases = {
      {"both keys", "Language=Japanese\r\nUndoBufferSize=10\r\n", {1, 50, 50}, {0, 10, 10}},
      {"English value", "Language=English\r\n", {0, 50, 50}, {1, 50, 50}},
      {"any other language value", "Language=Deutsch\r\n", {0, 50, 50}, {1, 50, 50}},
      {"empty language value", "Language=\r\n", {0, 50, 50}, {1, 50, 50}},
      {"line without = glued to next key",
       "[Settings]\r\nUndoBufferSize=10\r\n",
       {1, 50, 50},
       {1, 50, 50}},
      {"glue reaches only the next line",
       "[S]\r\nLanguage=Japanese\r\nUndoBufferSize=7\r\n",
       {1, 50, 50},
       {1, 7, 7}},
      {"second = discards text between", "UndoBufferSize=99=12\r\n", {1, 50, 50}, {1, 12, 12}},
      {"second = in language value", "Language=English=Japanese\r\n", {1, 50, 50}, {0, 50, 50}},
      {"last line without break counts",
       "Language=Japanese\r\nUndoBufferSize=7",
       {1, 50, 50},
       {0, 7, 7}},
      {"last language line without break", "Language=English", {0, 50, 50}, {1, 50, 50}},
      {"key without = at end ignored", "UndoBufferSize", {1, 50, 50}, {1, 50, 50}},
      {"lower-case keys ignored",
       "language=Japanese\r\nundobuffersize=10\r\n",
       {1, 50, 50},
       {1, 50, 50}},
      {"space before = belongs to key",
       "Language =Japanese\r\nUndoBufferSize =10\r\n",
       {1, 50, 50},
       {1, 50, 50}},
      {"space after = belongs to language value",
       "Language= Japanese\r\n",
       {0, 50, 50},
       {1, 50, 50}},
      {"trailing space belongs to value", "Language=Japanese \r\n", {0, 50, 50}, {1, 50, 50}},
      {"leading blank of number skipped", "UndoBufferSize= 10\r\n", {1, 50, 50}, {1, 10, 10}},
      {"CR-only line ends", "Language=Japanese\rUndoBufferSize=10\r", {1, 50, 50}, {0, 10, 10}},
      {"LF-only line ends", "Language=Japanese\nUndoBufferSize=10\n", {1, 50, 50}, {0, 10, 10}},
      {"blank lines", "\r\n\r\nUndoBufferSize=3\r\n\r\n", {1, 50, 50}, {1, 3, 3}},
      {"unknown key ignored", "Foo=1\r\nUndoBufferSize=4\r\n", {1, 50, 50}, {1, 4, 4}},
      {"later line wins", "UndoBufferSize=4\r\nUndoBufferSize=9\r\n", {1, 50, 50}, {1, 9, 9}},
      {"empty file", "", {0, 12, 13}, {0, 12, 13}},
      {"NUL byte is part of the value",
       std::string("Language=Japa\0nese", 18),
       {0, 50, 50},
       {1, 50, 50}},
  };
  for (const Case& c : cases) {
    SettingsValues values = make(c.start);
    applySettingsBytes(c.bytes, values);
    expectValues(values, c.expected, c.what);
  }
}

// Start values differ between the running and the saved size so that "keep"
// (nothing changes) and "not taken" (saved follows running) can be told apart.
TEST(SettingsReader, UndoBufferSizeNumberRule) {
  struct Case {
    const char* value;
    int undoBufferSize;
    int undoBufferSizeSaved;
  };
  constexpr int kRunning = 20;
  constexpr int kSaved = 30;
  const std::vector<Case> cases = {
      {"10", 10, 10},
      {"2.5", 2, 2},
      {"3.5", 4, 4},
      {"1.5", 2, 2},
      {"0.6", 1, 1},
      {"0.5", 0, 0},
      {"0.4", 0, 0},
      {"1E-300", 0, 0},
      {"12abc", 12, 12},
      {"1D2", 100, 100},
      {"&H10", 16, 16},
      {"32767", 32767, 32767},
      {"32767.4", 32767, 32767},
      {"32766.5", 32766, 32766},
      // Not taken: the saved size follows the running one.
      {"32767.5", kRunning, kRunning},
      {"40000", kRunning, kRunning},
      {"1e300", kRunning, kRunning},
      {"1E400", kRunning, kRunning},
      // Zero or less, or no number: nothing changes.
      {"0", kRunning, kSaved},
      {"-3", kRunning, kSaved},
      {"-0.4", kRunning, kSaved},
      {"abc", kRunning, kSaved},
      {"inf", kRunning, kSaved},
      {"nan", kRunning, kSaved},
      {"", kRunning, kSaved},
  };
  for (const Case& c : cases) {
    SettingsValues values = make({1, kRunning, kSaved});
    applySettingsBytes(std::string("UndoBufferSize=") + c.value + "\r\n", values);
    expectValues(values, {1, c.undoBufferSize, c.undoBufferSizeSaved}, c.value);
  }
}

TEST(SettingsWriter, ExactBytes) {
  struct Case {
    Values values;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {{1, 50, 50}, "Language=English\r\nUndoBufferSize=50\r\n"},
      {{0, 50, 50}, "Language=Japanese\r\nUndoBufferSize=50\r\n"},
      {{2, 50, 50}, "Language=English\r\nUndoBufferSize=50\r\n"},
      {{-1, 50, 50}, "Language=English\r\nUndoBufferSize=50\r\n"},
      // Only the saved size is written.
      {{0, 50, 7}, "Language=Japanese\r\nUndoBufferSize=7\r\n"},
      {{1, 3, 0}, "Language=English\r\nUndoBufferSize=0\r\n"},
      {{1, 3, 32767}, "Language=English\r\nUndoBufferSize=32767\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(settingsFileBytes(make(c.values)), c.bytes);
  }
}

TEST(SettingsLocale, TerritoryRule) {
  struct Case {
    std::map<std::string, std::string> environment;
    int language;
  };
  const std::vector<Case> cases = {
      {{{"LANG", "ja_JP.UTF-8"}}, 0},
      {{{"LANG", "ja_JP"}}, 0},
      {{{"LANG", "en_US"}}, 1},
      {{{"LANG", "en_US.UTF-8"}}, 1},
      {{{"LANG", "en_JP"}}, 0},
      {{{"LANG", "ja_JP@euro"}}, 0},
      {{{"LANG", "ja_JP.eucJP@x"}}, 0},
      {{{"LANG", "C"}}, 1},
      {{{"LANG", "C.UTF-8"}}, 1},
      {{{"LANG", "POSIX"}}, 1},
      {{{"LANG", "ja"}}, 1},
      {{{"LANG", "ja_jp"}}, 1},
      {{{"LANG", "en.UTF_JP"}}, 1},
      {{}, 1},
      {{{"LC_ALL", "en_US.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, 1},
      {{{"LC_ALL", "ja_JP.UTF-8"}, {"LANG", "en_US.UTF-8"}}, 0},
      {{{"LC_ALL", ""}, {"LANG", "ja_JP.UTF-8"}}, 0},
      {{{"LC_MESSAGES", "ja_JP"}, {"LANG", "en_US"}}, 0},
      {{{"LC_ALL", "en_US"}, {"LC_MESSAGES", "ja_JP"}}, 1},
      {{{"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANG", "ja_JP"}}, 0},
      {{{"LC_CTYPE", "ja_JP"}}, 1},
  };
  for (const Case& c : cases) {
    HeadlessPlatform platform;
    std::string what;
    for (const auto& [name, value] : c.environment) {
      platform.setEnvironment(name, value);
      what += name + "=" + value + " ";
    }
    EXPECT_EQ(languageFromLocale(platform), c.language) << what;
  }
}

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/plotvane_settings_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr) << std::strerror(errno);
    dir_ = pattern;
    path_ = dir_ + "/Plotinf.ini";
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  std::string fileBytes() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void putFile(const std::string& bytes) const {
    std::ofstream out(path_, std::ios::binary);
    out << bytes;
  }
  void expectWarnings(const std::vector<int>& errors) const {
    ASSERT_EQ(platform_.messages().size(), errors.size());
    for (std::size_t i = 0; i < errors.size(); ++i) {
      const ShownMessage& shown = platform_.messages()[i];
      EXPECT_EQ(shown.text, std::strerror(errors[i])) << i;
      EXPECT_EQ(shown.buttons, MessageButtons::Ok) << i;
      EXPECT_EQ(shown.icon, MessageIcon::Exclamation) << i;
    }
  }

  HeadlessPlatform platform_;
  std::string dir_;
  std::string path_;
};

TEST_F(SettingsFileTest, ReadMissingFileWarnsOnceAndKeepsValues) {
  SettingsValues values = make({0, 12, 13});
  readSettings(platform_, dir_, values);
  expectWarnings({ENOENT});
  expectValues(values, {0, 12, 13}, "missing file");
}

TEST_F(SettingsFileTest, ReadFailureKeepsValues) {
  putFile("Language=Japanese\r\nUndoBufferSize=10\r\n");
  platform_.injectFailure(HeadlessPlatform::FileOperation::Read, path_, EACCES);
  SettingsValues values;
  readSettings(platform_, dir_, values);
  expectWarnings({EACCES});
  expectValues(values, {1, 50, 50}, "unreadable file");
}

TEST_F(SettingsFileTest, ReadAppliesFileContents) {
  putFile("[Plot]\r\nLanguage=Japanese\r\nUndoBufferSize=10");
  SettingsValues values;
  readSettings(platform_, dir_ + "/", values);
  expectWarnings({});
  expectValues(values, {1, 10, 10}, "file with a section line");
}

TEST_F(SettingsFileTest, WriteWithoutExistingFileWarnsAndCreatesFile) {
  writeSettings(platform_, dir_, make({0, 50, 50}));
  expectWarnings({ENOENT});
  EXPECT_EQ(fileBytes(), "Language=Japanese\r\nUndoBufferSize=50\r\n");
}

TEST_F(SettingsFileTest, WriteReplacesExistingFileSilently) {
  putFile("Language=Japanese\r\nUndoBufferSize=10\r\nSomething much longer than the new file\r\n");
  writeSettings(platform_, dir_, make({1, 10, 10}));
  expectWarnings({});
  EXPECT_EQ(fileBytes(), "Language=English\r\nUndoBufferSize=10\r\n");
}

TEST_F(SettingsFileTest, WriteFailureShowsItsError) {
  putFile("Language=Japanese\r\n");
  platform_.injectFailure(HeadlessPlatform::FileOperation::Write, path_, ENOSPC);
  writeSettings(platform_, dir_, make({1, 50, 50}));
  expectWarnings({ENOSPC});
}

// A folder in the file's place cannot be deleted or opened as a file, even by
// root.
TEST_F(SettingsFileTest, FolderInPlaceOfFileWarnsAndKeepsValues) {
  ASSERT_EQ(mkdir(path_.c_str(), 0700), 0) << std::strerror(errno);

  writeSettings(platform_, dir_, make({0, 50, 50}));
  expectWarnings({EISDIR, EISDIR});
  EXPECT_TRUE(std::filesystem::is_directory(path_));

  platform_.clearMessages();
  SettingsValues values = make({0, 12, 13});
  readSettings(platform_, dir_, values);
  expectWarnings({EISDIR});
  expectValues(values, {0, 12, 13}, "folder in place of file");
}

TEST_F(SettingsFileTest, RoundTrip) {
  struct Case {
    Values written;
    Values read;
  };
  const std::vector<Case> cases = {
      {{1, 50, 50}, {1, 50, 50}},         {{0, 7, 7}, {0, 7, 7}},         {{0, 50, 1}, {0, 1, 1}},
      {{1, 9, 32767}, {1, 32767, 32767}}, {{5, 123, 123}, {1, 123, 123}},
  };
  for (const Case& c : cases) {
    writeSettings(platform_, dir_, make(c.written));
    SettingsValues values = make({c.read.language == 0 ? 1 : 0, 50, 50});
    readSettings(platform_, dir_, values);
    expectValues(values, c.read, settingsFileBytes(make(c.written)));
  }
  // Only the first write found no file to delete.
  expectWarnings({ENOENT});
}

}  // namespace
}  // namespace plotvane
