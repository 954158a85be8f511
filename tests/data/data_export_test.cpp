#include "data/data_export.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/form1_events.h"
#include "app/language.h"
#include "data/data_list.h"
#include "platform/headless_platform.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using testing::readAll;
using testing::writeAll;

namespace fs = std::filesystem;
using Op = HeadlessPlatform::FileOperation;

const std::string kTwoPointCsv = "Data:X,Data:Y,Source:X,Source:Y\r\n1.5,2,10,20\r\n3,4,30,40\r\n";
const std::string kOld = "old contents\r\n";

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

class DataExport : public ::testing::Test {
 protected:
  DataExport() {
    mnuLangENGClick(form);
    installDataListHandlers(form);
  }

  void addTwoPoints() {
    ASSERT_EQ(appendDataPoint(form, 1.5f, 2, 10, 20), AddResult::Added);
    ASSERT_EQ(appendDataPoint(form, 3, 4, 30, 40), AddResult::Added);
  }
  void addPoints(int count) {
    for (int i = 0; i < count; ++i)
      ASSERT_EQ(appendDataPoint(form, float(i), float(2 * i), float(i), 7), AddResult::Added);
  }
  void saveAs(const std::string& path, int filterIndex = 1) {
    platform.queueSaveFile(SaveDialogChoice{path, filterIndex});
    menuClick(form, MenuId::mnuDataSave);
  }
  void expectOneError(int error, const std::string& what) {
    ASSERT_EQ(platform.messages().size(), 1u) << what;
    EXPECT_EQ(platform.messages()[0].text, std::strerror(error)) << what;
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Exclamation) << what;
    EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok) << what;
  }

  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  Form1 form{platform};
};

TEST_F(DataExport, TwoPointExampleWritesExactCsvBytes) {
  addTwoPoints();
  saveAs(dir.file("two.csv"));

  EXPECT_EQ(readAll(dir.file("two.csv")), kTwoPointCsv);
  EXPECT_TRUE(platform.messages().empty());
  ASSERT_EQ(platform.saveDialogs().size(), 1u);
  const HeadlessPlatform::ShownSaveDialog& shown = platform.saveDialogs()[0];
  EXPECT_EQ(shown.filterIndex, 1);
  EXPECT_EQ(shown.request.title, "Save Data");
  const std::vector<std::pair<std::string, std::string>> filters = {
      {"CSV Files Separated by Comma (*.csv)", "*.csv"},
      {"Text Files Separated by Tab (*.txt)", "*.txt"},
      {"Text Files Separated by Space (*.txt)", "*.txt"},
      {"Text Files Separated by Comma (*.txt)", "*.txt"},
      {"All Files (*.*)", "*"}};
  ASSERT_EQ(shown.request.filters.size(), filters.size());
  for (std::size_t i = 0; i < filters.size(); ++i) {
    EXPECT_EQ(shown.request.filters[i].text, filters[i].first);
    EXPECT_EQ(shown.request.filters[i].patterns, std::vector<std::string>{filters[i].second});
  }
}

TEST_F(DataExport, SaveButtonRunsTheSameOperation) {
  addTwoPoints();
  platform.queueSaveFile(SaveDialogChoice{dir.file("button.csv"), 1});
  form.ui.cmdSaveData.onChange();
  EXPECT_EQ(readAll(dir.file("button.csv")), kTwoPointCsv);
}

TEST_F(DataExport, DelimiterFollowsTheFileTypeAndNumbersNeverAppear) {
  // Three points, the middle one deleted: the rows are numbered 1 and 3.
  ASSERT_EQ(appendDataPoint(form, 1.5f, 2, 10, 20), AddResult::Added);
  ASSERT_EQ(appendDataPoint(form, 9, 9, 9, 9), AddResult::Added);
  ASSERT_EQ(appendDataPoint(form, -2.5e-6f, 1e7f, 0.25f, 3), AddResult::Added);
  selectRow(form.ui.ListView1, 1);
  menuClick(form, MenuId::mnuDataDelSelect);
  ASSERT_EQ(form.app.pointCount, 2);

  const struct {
    int filterIndex;
    std::string d;
  } cases[] = {{1, ","}, {2, "\t"}, {3, " "}, {4, ","}, {5, ","}, {0, ","}, {9, ","}};
  for (const auto& c : cases) {
    const std::string path = dir.file("type" + std::to_string(c.filterIndex));
    saveAs(path, c.filterIndex);
    const std::string d = c.d;
    EXPECT_EQ(readAll(path), "Data:X" + d + "Data:Y" + d + "Source:X" + d + "Source:Y\r\n" + "1.5" +
                                 d + "2" + d + "10" + d + "20\r\n" + "-2.5E-06" + d + "1E+07" + d +
                                 "0.25" + d + "3\r\n")
        << "type " << c.filterIndex;
  }
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(DataExport, DialogRemembersItsOwnFileTypeAndFollowsTheLanguage) {
  addTwoPoints();
  saveAs(dir.file("a.txt"), 3);
  platform.queueSaveFile(std::nullopt);
  menuClick(form, MenuId::mnuDataSave);
  saveAs(dir.file("b.txt"), 9);  // out of range: remembered type unchanged
  mnuLangJPClick(form);
  saveAs(dir.file("c.txt"), 2);
  menuClick(form, MenuId::mnuDataSave);  // empty queue: cancelled

  std::vector<int> opened;
  for (const auto& shown : platform.saveDialogs()) opened.push_back(shown.filterIndex);
  EXPECT_EQ(opened, (std::vector<int>{1, 3, 3, 3, 2}));
  const auto& japanese = platform.saveDialogs()[3].request;
  EXPECT_EQ(japanese.title, "データを保存");
  EXPECT_EQ(japanese.filters[0].text, "ｶﾝﾏ区切りのCSV形式ﾌｧｲﾙ (*.csv)");
  EXPECT_EQ(japanese.filters[4].text, "すべてのﾌｧｲﾙ (*.*)");
  EXPECT_FALSE(fs::exists(dir.file("d.txt")));
}

TEST_F(DataExport, OverwriteQuestionOutcomes) {
  addTwoPoints();
  const struct {
    const char* what;
    std::vector<MessageResult> answers;
    std::string existingAfter;
    bool otherWritten;
    std::size_t dialogs;
  } cases[] = {
      {"Yes replaces", {MessageResult::Yes}, kTwoPointCsv, false, 1},
      {"No appends, header included", {MessageResult::No}, kOld + kTwoPointCsv, false, 1},
      {"Cancel asks for a name again", {MessageResult::Cancel}, kOld, true, 2},
      {"Cancel twice, then Yes",
       {MessageResult::Cancel, MessageResult::Cancel, MessageResult::Yes},
       kTwoPointCsv,
       false,
       3},
  };
  for (const auto& c : cases) {
    HeadlessPlatform fresh;
    Form1 other{fresh};
    mnuLangENGClick(other);
    other.ui.ListView1.rows = form.ui.ListView1.rows;
    other.app.pointCount = form.app.pointCount;
    const std::string existing = dir.file("existing.csv");
    const std::string newName = dir.file("new.csv");
    writeAll(existing, kOld);
    fs::remove(newName);
    for (MessageResult answer : c.answers) {
      fresh.queueSaveFile(SaveDialogChoice{existing, 1});
      fresh.queueAnswer(answer);
    }
    if (c.otherWritten) fresh.queueSaveFile(SaveDialogChoice{newName, 1});
    menuClick(other, MenuId::mnuDataSave);

    EXPECT_EQ(readAll(existing), c.existingAfter) << c.what;
    EXPECT_EQ(fs::exists(newName), c.otherWritten) << c.what;
    if (c.otherWritten) {
      EXPECT_EQ(readAll(newName), kTwoPointCsv) << c.what;
    }
    EXPECT_EQ(fresh.saveDialogs().size(), c.dialogs) << c.what;
    ASSERT_EQ(fresh.messages().size(), c.answers.size()) << c.what;
    for (const ShownMessage& shown : fresh.messages()) {
      EXPECT_EQ(shown.text, "Do you over write this file?") << c.what;
      EXPECT_EQ(shown.buttons, MessageButtons::YesNoCancel) << c.what;
      EXPECT_EQ(shown.icon, MessageIcon::Question) << c.what;
    }
    EXPECT_EQ(namesIn(dir.path()).size(), c.otherWritten ? 2u : 1u) << c.what;
  }
}

TEST_F(DataExport, AppendingTwiceGivesTwoHeadersAndNameIsKeptAsTyped) {
  addTwoPoints();
  saveAs(dir.file("data"));
  platform.queueAnswer(MessageResult::No);
  saveAs(dir.file("data"));

  EXPECT_EQ(readAll(dir.file("data")), kTwoPointCsv + kTwoPointCsv);
  EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"data"});
}

TEST_F(DataExport, FailuresLeaveTheOldFileIntact) {
  addTwoPoints();
  const struct {
    const char* what;
    Op operation;
    FileError error;
    MessageResult answer;  // Yes replaces, No appends
  } cases[] = {
      {"no space while replacing", Op::Write, ENOSPC, MessageResult::Yes},
      {"no permission to create beside", Op::Create, EACCES, MessageResult::Yes},
      {"close fails while replacing", Op::Close, EIO, MessageResult::Yes},
      {"no permission to rename", Op::Rename, EACCES, MessageResult::Yes},
      {"no space while appending", Op::Write, ENOSPC, MessageResult::No},
      {"no permission to open for append", Op::Create, EACCES, MessageResult::No},
      {"close fails while appending", Op::Close, EIO, MessageResult::No},
  };
  const std::string path = dir.file("kept.csv");
  for (const auto& c : cases) {
    writeAll(path, kOld);
    platform.clearMessages();
    platform.injectFailure(c.operation, path, c.error);
    platform.queueAnswer(c.answer);
    saveAs(path);

    EXPECT_EQ(readAll(path), kOld) << c.what;
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"kept.csv"}) << c.what;
    ASSERT_EQ(platform.messages().size(), 2u) << c.what;
    EXPECT_EQ(platform.messages()[1].text, std::strerror(c.error)) << c.what;
    EXPECT_EQ(platform.messages()[1].icon, MessageIcon::Exclamation) << c.what;
  }
}

TEST_F(DataExport, FailuresOfANewNameWriteNothing) {
  addTwoPoints();
  fs::create_directory(dir.file("folder.csv"));
  const struct {
    const char* what;
    std::string path;
    Op operation;
    FileError injected;
    FileError shown;
  } cases[] = {
      {"missing folder", dir.file("missing/out.csv"), Op::Read, 0, ENOENT},
      {"a folder where the file should be", dir.file("folder.csv"), Op::Read, 0, EISDIR},
      {"name under a file", "/dev/null/out.csv", Op::Read, 0, ENOTDIR},
      {"no permission to create", dir.file("new.csv"), Op::Create, EACCES, EACCES},
      {"no space", dir.file("new.csv"), Op::Write, ENOSPC, ENOSPC},
      {"existence test fails", dir.file("new.csv"), Op::Exists, EACCES, EACCES},
  };
  for (const auto& c : cases) {
    platform.clearMessages();
    if (c.injected) platform.injectFailure(c.operation, c.path, c.injected);
    saveAs(c.path);

    expectOneError(c.shown, c.what);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"folder.csv"}) << c.what;
    EXPECT_TRUE(fs::is_empty(dir.file("folder.csv"))) << c.what;
  }
}

// A real partial write: the file size limit stops the write part-way, as a
// full disk does.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};

TEST_F(DataExport, WriteStoppedPartWayLeavesTheOldFile) {
  addPoints(40);
  const std::string path = dir.file("limited.csv");
  for (MessageResult answer : {MessageResult::Yes, MessageResult::No}) {
    writeAll(path, kOld);
    platform.clearMessages();
    platform.queueAnswer(answer);
    {
      FileSizeLimit limit(kOld.size() + 50);
      saveAs(path);
    }
    EXPECT_EQ(readAll(path), kOld);
    EXPECT_EQ(namesIn(dir.path()), std::set<std::string>{"limited.csv"});
    ASSERT_EQ(platform.messages().size(), 2u);
    EXPECT_EQ(platform.messages()[1].text, std::strerror(EFBIG));
  }
}

TEST_F(DataExport, ReplacesThroughSymbolicLinksAndKeepsPermissions) {
  addTwoPoints();
  fs::create_directory(dir.file("real"));
  const mode_t savedMask = umask(022);
  const struct {
    const char* what;
    std::string linkTarget;  // as stored in the link
    bool targetExists;
    mode_t mode;  // of the old target, or expected for a new one
  } cases[] = {
      {"relative link", "real/data.csv", true, 0640},
      {"absolute link", dir.file("real/data.csv"), true, 0604},
      {"link to a link", "second-link", true, 0600},
      {"dangling link", "real/data.csv", false, 0644},
  };
  for (const auto& c : cases) {
    const std::string target = dir.file("real/data.csv");
    fs::remove(target);
    fs::remove(dir.file("link.csv"));
    fs::remove(dir.file("second-link"));
    if (c.targetExists) {
      writeAll(target, kOld);
      ASSERT_EQ(chmod(target.c_str(), c.mode), 0);
    }
    fs::create_symlink(c.linkTarget, dir.file("link.csv"));
    fs::create_symlink("real/data.csv", dir.file("second-link"));
    platform.clearMessages();
    platform.queueAnswer(MessageResult::Yes);
    saveAs(dir.file("link.csv"));

    EXPECT_TRUE(fs::is_symlink(dir.file("link.csv"))) << c.what;
    EXPECT_EQ(fs::read_symlink(dir.file("link.csv")), c.linkTarget) << c.what;
    EXPECT_EQ(readAll(target), kTwoPointCsv) << c.what;
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0) << c.what;
    EXPECT_EQ(info.st_mode & 07777, c.mode) << c.what;
    EXPECT_EQ(namesIn(dir.file("real")), std::set<std::string>{"data.csv"}) << c.what;
    EXPECT_EQ(platform.messages().size(), c.targetExists ? 1u : 0u) << c.what;
  }
  umask(savedMask);
}

TEST_F(DataExport, CancelDuringTheYieldsLeavesTheDiskUntouched) {
  addPoints(25);
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuExeCancel); });
  const struct {
    const char* what;
    bool exists;
    MessageResult answer;
  } cases[] = {{"new file", false, MessageResult::Ok},
               {"replace", true, MessageResult::Yes},
               {"append", true, MessageResult::No}};
  const std::string path = dir.file("cancelled.csv");
  for (const auto& c : cases) {
    fs::remove(path);
    if (c.exists) {
      writeAll(path, kOld);
      platform.queueAnswer(c.answer);
    }
    const int yieldsBefore = platform.yieldCount();
    saveAs(path);

    EXPECT_EQ(platform.yieldCount() - yieldsBefore, 1) << c.what;
    EXPECT_EQ(fs::exists(path), c.exists) << c.what;
    if (c.exists) {
      EXPECT_EQ(readAll(path), kOld) << c.what;
    }
    EXPECT_EQ(namesIn(dir.path()).size(), c.exists ? 1u : 0u) << c.what;
  }
}

TEST_F(DataExport, RowsAreTakenInOnePassBeforeTheYields) {
  addPoints(20);
  std::vector<ListRow> before = form.ui.ListView1.rows;
  // A stale Cancel from an earlier run does not stop this save, and
  // emptying the list while the save yields does not change what it writes.
  form.app.cancelRequested = -1;
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuDataDelAll); });
  saveAs(dir.file("snapshot.csv"));

  EXPECT_EQ(platform.yieldCount(), 2);
  std::string expected = "Data:X,Data:Y,Source:X,Source:Y\r\n";
  for (const ListRow& row : before)
    expected +=
        row.cells[1] + "," + row.cells[2] + "," + row.cells[3] + "," + row.cells[4] + "\r\n";
  EXPECT_EQ(readAll(dir.file("snapshot.csv")), expected);
  EXPECT_EQ(form.app.pointCount, 0);
}

TEST(DataFileText, ShortRowsAndAStopAtTheTenthRow) {
  ListViewControl list;
  list.rows = {{{"1", "a", "b", "c", "d"}, false}, {{"2", "e"}, false}, {{}, false}};
  // pointCount beyond the rows and short rows never read past the cells.
  const std::vector<DataRowTexts> rows = listRowTexts(list, 5);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(dataFileText(rows, ';'),
            "Data:X;Data:Y;Source:X;Source:Y\r\na;b;c;d\r\ne;;;\r\n;;;\r\n");
  EXPECT_TRUE(listRowTexts(list, -1).empty());

  EXPECT_FALSE(dataFileText(std::vector<DataRowTexts>(10), ',', [] { return false; }));
}

}  // namespace
}  // namespace plotvane
