#include "data/data_export.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
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
using Names = std::set<std::string>;
using R = MessageResult;

const std::string kTwoPointCsv = "Data:X,Data:Y,Source:X,Source:Y\r\n1.5,2,10,20\r\n3,4,30,40\r\n";
const std::string kOld = "old contents\r\n";

Names namesIn(const std::string& folder) {
  Names names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

class DataExport : public ::testing::Test {
 protected:
  DataExport() {
    mnuLangENGClick(form);
    installDataListHandlers(form);
    EXPECT_EQ(appendDataPoint(form, 1.5f, 2, 10, 20), AddResult::Added);  // the two-point example
    EXPECT_EQ(appendDataPoint(form, 3, 4, 30, 40), AddResult::Added);
  }
  void addPoints(int count) {
    for (int i = 0; i < count; ++i) (void)appendDataPoint(form, float(i), 2.0f * i, float(i), 7);
  }
  void saveAs(const std::string& path, int filterIndex = 1) {
    platform.queueSaveFile(SaveDialogChoice{path, filterIndex});
    menuClick(form, MenuId::mnuDataSave);
  }

  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  Form1 form{platform};
};

TEST_F(DataExport, TwoPointExampleBytesForEveryFileType) {
  platform.queueSaveFile(SaveDialogChoice{dir.file("type1"), 1});
  form.ui.cmdSaveData.onChange();  // the button runs the menu command
  EXPECT_EQ(readAll(dir.file("type1")), kTwoPointCsv);
  const auto& shown = platform.saveDialogs().at(0);
  EXPECT_EQ(shown.filterIndex, 1);
  EXPECT_EQ(shown.request.title, "Save Data");
  std::vector<std::string> filters;
  for (const FileFilter& f : shown.request.filters) filters.push_back(f.text + " " + f.patterns[0]);
  EXPECT_EQ(filters, (std::vector<std::string>{"CSV Files Separated by Comma (*.csv) *.csv",
                                               "Text Files Separated by Tab (*.txt) *.txt",
                                               "Text Files Separated by Space (*.txt) *.txt",
                                               "Text Files Separated by Comma (*.txt) *.txt",
                                               "All Files (*.*) *"}));
  for (const auto& [type, d] :
       {std::pair{2, '\t'}, {3, ' '}, {4, ','}, {5, ','}, {0, ','}, {9, ','}}) {
    saveAs(dir.file("type" + std::to_string(type)), type);
    std::string expected = kTwoPointCsv;
    std::replace(expected.begin(), expected.end(), ',', d);
    EXPECT_EQ(readAll(dir.file("type" + std::to_string(type))), expected) << "type " << type;
  }
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(DataExport, DialogRemembersItsOwnFileTypeAndFollowsTheLanguage) {
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
  EXPECT_EQ(platform.saveDialogs()[3].request.title, "データを保存");
}

TEST_F(DataExport, OverwriteQuestionOutcomesWithNamesKeptAsTyped) {
  // answers given, the old file after, whether a new name was asked for and written
  const std::tuple<const char*, std::vector<R>, std::string, bool> cases[] = {
      {"Yes replaces", {R::Yes}, kTwoPointCsv, false},
      {"No appends, header included", {R::No}, kOld + kTwoPointCsv, false},
      {"Cancel asks for a name again", {R::Cancel}, kOld, true},
      {"Cancel twice, then Yes", {R::Cancel, R::Cancel, R::Yes}, kTwoPointCsv, false}};
  const std::string existing = dir.file("existing"), newName = dir.file("new");
  for (const auto& [what, answers, existingAfter, newWritten] : cases) {
    SCOPED_TRACE(what);
    writeAll(existing, kOld);
    fs::remove(newName);
    platform.clearMessages();
    const std::size_t dialogs = platform.saveDialogs().size();
    for (R answer : answers)
      platform.queueSaveFile(SaveDialogChoice{existing, 1}), platform.queueAnswer(answer);
    if (newWritten) platform.queueSaveFile(SaveDialogChoice{newName, 1});
    menuClick(form, MenuId::mnuDataSave);
    EXPECT_EQ(readAll(existing), existingAfter);
    EXPECT_EQ(readAll(newName), newWritten ? kTwoPointCsv : "");
    EXPECT_EQ(platform.saveDialogs().size() - dialogs, answers.size() + newWritten);
    ASSERT_EQ(platform.messages().size(), answers.size());
    for (const ShownMessage& m : platform.messages())
      EXPECT_TRUE(m.text == "Do you over write this file?" &&
                  m.buttons == MessageButtons::YesNoCancel && m.icon == MessageIcon::Question);
    EXPECT_EQ(namesIn(dir.path()), (newWritten ? Names{"existing", "new"} : Names{"existing"}));
  }
  platform.queueAnswer(R::No);  // appending twice gives two headers
  saveAs(existing);
  EXPECT_EQ(readAll(existing), kTwoPointCsv + kTwoPointCsv);
}

TEST_F(DataExport, EveryFailureIsReportedAndLeavesTheOldFileIntact) {
  fs::create_directory(dir.file("folder.csv"));
  const std::string kept = dir.file("kept.csv"), fresh = dir.file("new.csv");
  const struct {
    const char* what;
    std::string path;
    Op operation;
    FileError injected, shown;
    R answer;  // Yes replaces, No appends, Ok: no file there
  } cases[] = {
      {"no space while replacing", kept, Op::Write, ENOSPC, ENOSPC, R::Yes},
      {"no permission to create beside", kept, Op::Create, EACCES, EACCES, R::Yes},
      {"close fails while replacing", kept, Op::Close, EIO, EIO, R::Yes},
      {"no permission to rename", kept, Op::Rename, EACCES, EACCES, R::Yes},
      {"no space while appending", kept, Op::Write, ENOSPC, ENOSPC, R::No},
      {"no permission to append", kept, Op::Create, EACCES, EACCES, R::No},
      {"close fails while appending", kept, Op::Close, EIO, EIO, R::No},
      {"missing folder", dir.file("missing/out.csv"), Op::Read, 0, ENOENT, R::Ok},
      {"a folder where the file should be", dir.file("folder.csv"), Op::Read, 0, EISDIR, R::Ok},
      {"name under a file", "/dev/null/out.csv", Op::Read, 0, ENOTDIR, R::Ok},
      {"no permission to create", fresh, Op::Create, EACCES, EACCES, R::Ok},
      {"no space", fresh, Op::Write, ENOSPC, ENOSPC, R::Ok},
      {"existence test fails", fresh, Op::Exists, EACCES, EACCES, R::Ok},
      {"a real partial write while replacing", kept, Op::Read, 0, EFBIG, R::Yes},
      {"a real partial write while appending", kept, Op::Read, 0, EFBIG, R::No},
  };
  std::signal(SIGXFSZ, SIG_IGN);  // the file size limit stops writes part-way, as a full disk does
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const rlimit limited{kOld.size() + 20, saved.rlim_max};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const bool existed = c.answer != R::Ok;
    fs::remove(kept);
    if (existed) writeAll(kept, kOld), platform.queueAnswer(c.answer);
    platform.clearMessages();
    if (c.injected) platform.injectFailure(c.operation, c.path, c.injected);
    if (c.shown == EFBIG) setrlimit(RLIMIT_FSIZE, &limited);
    saveAs(c.path);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(readAll(kept), existed ? kOld : "");
    EXPECT_EQ(namesIn(dir.path()),
              (existed ? Names{"folder.csv", "kept.csv"} : Names{"folder.csv"}));
    EXPECT_TRUE(fs::is_empty(dir.file("folder.csv")));
    ASSERT_EQ(platform.messages().size(), existed ? 2u : 1u);
    EXPECT_EQ(platform.messages().back().text, std::strerror(c.shown));
    EXPECT_TRUE(platform.messages().back().icon == MessageIcon::Exclamation &&
                platform.messages().back().buttons == MessageButtons::Ok);
  }
}

TEST_F(DataExport, ReplacesThroughSymbolicLinksAndKeepsPermissions) {
  fs::create_directory(dir.file("real"));
  const mode_t savedMask = umask(022);
  const std::string target = dir.file("real/data.csv"), link = dir.file("link.csv");
  // the link as stored, whether its target exists, the mode of the old target or of a new one
  const std::tuple<std::string, bool, mode_t> cases[] = {
      {"real/data.csv", true, 0640},
      {target, true, 0604},
      {"second-link", true, 0600},  // a link to a link
      {"real/data.csv", false, 0644}};
  for (const auto& [linkTarget, targetExists, mode] : cases) {
    SCOPED_TRACE(linkTarget + (targetExists ? "" : " dangling"));
    for (const std::string& old : {target, link, dir.file("second-link")}) fs::remove(old);
    if (targetExists) writeAll(target, kOld), fs::permissions(target, fs::perms(mode));
    fs::create_symlink(linkTarget, link);
    fs::create_symlink("real/data.csv", dir.file("second-link"));
    platform.clearMessages();
    platform.queueAnswer(R::Yes);
    saveAs(link);
    EXPECT_EQ(fs::read_symlink(link), linkTarget);
    EXPECT_EQ(readAll(target), kTwoPointCsv);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(mode));
    EXPECT_EQ(namesIn(dir.file("real")), Names{"data.csv"});
    EXPECT_EQ(platform.messages().size(), targetExists ? 1u : 0u);
  }
  umask(savedMask);
}

TEST_F(DataExport, CancelDuringTheYieldsLeavesTheDiskUntouched) {
  addPoints(25);
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuExeCancel); });
  const std::string path = dir.file("cancelled.csv");
  for (R answer : {R::Ok, R::Yes, R::No}) {  // new file, replace, append
    fs::remove(path);
    if (answer != R::Ok) writeAll(path, kOld), platform.queueAnswer(answer);
    const int yieldsBefore = platform.yieldCount();
    saveAs(path);
    EXPECT_EQ(platform.yieldCount() - yieldsBefore, 1);
    EXPECT_EQ(readAll(path), answer == R::Ok ? "" : kOld);
    EXPECT_EQ(namesIn(dir.path()).size(), answer == R::Ok ? 0u : 1u);
  }
}

TEST_F(DataExport, RowsAreTakenInOnePassBeforeTheYields) {
  addPoints(20);
  saveAs(dir.file("before.csv"));
  // A stale Cancel does not stop this save; emptying the list while it yields changes nothing.
  form.app.cancelRequested = -1;
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuDataDelAll); });
  saveAs(dir.file("snapshot.csv"));
  EXPECT_EQ(platform.yieldCount(), 4);
  EXPECT_EQ(readAll(dir.file("snapshot.csv")), readAll(dir.file("before.csv")));
  EXPECT_EQ(form.app.pointCount, 0);
}

TEST(DataFileText, ShortRowsAndAStopAtTheTenthRow) {
  ListViewControl list;
  list.rows = {{{"1", "a", "b", "c", "d"}, false}, {{"2", "e"}, false}, {{}, false}};
  const std::vector<DataRowTexts> rows = listRowTexts(list, 5);  // count beyond the rows
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(dataFileText(rows, ';'),
            "Data:X;Data:Y;Source:X;Source:Y\r\na;b;c;d\r\ne;;;\r\n;;;\r\n");
  EXPECT_TRUE(listRowTexts(list, -1).empty());
  EXPECT_FALSE(dataFileText(std::vector<DataRowTexts>(10), ',', [] { return false; }));
}

}  // namespace
}  // namespace plotvane
