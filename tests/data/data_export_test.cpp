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

#include "app/language.h"
#include "data/data_list.h"
#include "platform/headless_platform.h"
#include "shell/captions.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using testing::readAll, testing::writeAll;
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
  void saveAs(const std::string& path, int filterIndex = 1) {  // with the messages cleared
    platform.clearMessages();
    platform.queueSaveFile(SaveDialogChoice{path, filterIndex});
    menuClick(form, MenuId::mnuDataSave);
  }

  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  Form1 form{platform};
};

TEST_F(DataExport, TwoPointExampleForEveryFileTypeWithNamesKeptAsTyped) {
  platform.queueSaveFile(SaveDialogChoice{dir.file("type1"), 1});
  form.ui.cmdSaveData.onChange();  // the button runs the menu command
  for (const auto& [type, d] :
       {std::pair{1, ','}, {2, '\t'}, {3, ' '}, {4, ','}, {5, ','}, {0, ','}, {9, ','}}) {
    const std::string name = dir.file("type" + std::to_string(type));
    if (type != 1) saveAs(name, type);
    std::string expected = kTwoPointCsv;
    std::replace(expected.begin(), expected.end(), ',', d);
    EXPECT_EQ(std::tuple(readAll(name), platform.messages().size()), std::tuple(expected, 0u))
        << "type " << type;
  }
  // Title and file types; each dialog opens on the type last chosen in it (not one out of range).
  std::string shown = platform.saveDialogs()[0].request.title;
  for (const FileFilter& f : platform.saveDialogs()[0].request.filters)
    shown += " | " + f.text + " " + f.patterns[0];
  for (const auto& s : platform.saveDialogs()) shown += " " + std::to_string(s.filterIndex);
  EXPECT_EQ(shown,
            "Save Data | CSV Files Separated by Comma (*.csv) *.csv | Text Files Separated by Tab "
            "(*.txt) *.txt | Text Files Separated by Space (*.txt) *.txt | Text Files Separated by "
            "Comma (*.txt) *.txt | All Files (*.*) * 1 1 2 3 4 5 5");
}

TEST_F(DataExport, OverwriteQuestionReplacesOrAppendsThroughLinksOrAsksAgain) {
  // "existing" links to a link to real/data.csv, whose mode is kept; the answers -> the file after
  const std::pair<std::vector<R>, std::string> cases[] = {
      {{R::Yes}, kTwoPointCsv},
      {{R::No}, kOld + kTwoPointCsv},  // the header included
      {{R::Cancel, R::Cancel, R::Yes}, kTwoPointCsv}};
  const std::string existing = dir.file("existing"), target = dir.file("real/data.csv");
  fs::create_directory(dir.file("real"));
  fs::create_symlink("real/data.csv", dir.file("link")), fs::create_symlink("link", existing);
  for (const auto& [answers, after] : cases) {
    writeAll(target, kOld), fs::permissions(target, fs::perms(0640));
    platform.clearMessages();
    const std::size_t dialogs = platform.saveDialogs().size();
    for (R answer : answers)
      platform.queueSaveFile(SaveDialogChoice{existing, 1}), platform.queueAnswer(answer);
    menuClick(form, MenuId::mnuDataSave);
    EXPECT_EQ(std::tuple(readAll(target), platform.saveDialogs().size() - dialogs,
                         platform.messages().size(), fs::read_symlink(existing),
                         fs::status(target).permissions(), namesIn(dir.file("real"))),
              std::tuple(after, answers.size(), answers.size(), "link", fs::perms(0640),
                         Names{"data.csv"}));
  }
  const ShownMessage& question = platform.messages().at(0);
  EXPECT_EQ(std::tuple(question.text, question.buttons, question.icon),
            std::tuple("Do you over write this file?", MessageButtons::YesNoCancel,
                       MessageIcon::Question));
  platform.queueAnswer(R::No);  // appending twice gives two headers
  saveAs(existing);
  EXPECT_EQ(readAll(target), kTwoPointCsv + kTwoPointCsv);
  fs::remove(target);  // a link to no file: the file it names is made, with the usual mode
  const mode_t savedMask = umask(022);
  saveAs(existing);
  umask(savedMask);
  EXPECT_EQ(std::tuple(readAll(target), fs::status(target).permissions(), namesIn(dir.path()),
                       platform.messages().size()),
            std::tuple(kTwoPointCsv, fs::perms(0644), Names{"existing", "link", "real"}, 0u));
}

TEST_F(DataExport, EveryFailureIsReportedAndLeavesTheOldFileIntact) {
  const std::string kept = dir.file("kept.csv"), fresh = dir.file("new.csv"),
                    missing = dir.file("missing/out.csv"), folder = dir.file("folder.csv");
  fs::create_directory(folder);
  // path, operation made to fail and how (0: really fails, as a partial write stopped by the file
  // size limit does), error shown, answer to the question (Yes replaces, No appends, Ok: no file)
  const std::tuple<std::string, Op, FileError, FileError, R> cases[] = {
      {kept, Op::Write, ENOSPC, ENOSPC, R::Yes}, {kept, Op::Create, EACCES, EACCES, R::Yes},
      {kept, Op::Close, EIO, EIO, R::Yes},       {kept, Op::Rename, EACCES, EACCES, R::Yes},
      {kept, Op::Write, ENOSPC, ENOSPC, R::No},  {kept, Op::Create, EACCES, EACCES, R::No},
      {kept, Op::Close, EIO, EIO, R::No},        {fresh, Op::Create, EACCES, EACCES, R::Ok},
      {fresh, Op::Write, ENOSPC, ENOSPC, R::Ok}, {fresh, Op::Exists, EACCES, EACCES, R::Ok},
      {missing, Op::Read, 0, ENOENT, R::Ok},     {folder, Op::Read, 0, EISDIR, R::Ok},
      {kept, Op::Read, 0, EFBIG, R::Yes},        {kept, Op::Read, 0, EFBIG, R::No}};
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{}, limited{};
  getrlimit(RLIMIT_FSIZE, &saved), limited = {kOld.size() + 20, saved.rlim_max};
  for (const auto& [path, operation, injected, shown, answer] : cases) {
    SCOPED_TRACE(::testing::Message() << path << " " << int(operation) << " " << int(answer));
    const bool existed = answer != R::Ok;
    fs::remove(kept);
    if (existed) writeAll(kept, kOld), platform.queueAnswer(answer);
    if (injected) platform.injectFailure(operation, path, injected);
    if (shown == EFBIG) setrlimit(RLIMIT_FSIZE, &limited);
    saveAs(path);
    setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_EQ(platform.messages().size(), existed ? 2u : 1u);
    const ShownMessage& m = platform.messages().back();
    EXPECT_EQ(std::tuple(readAll(kept), namesIn(dir.path()), fs::is_empty(folder), m.text, m.icon,
                         m.buttons),
              std::tuple(existed ? kOld : "",
                         existed ? Names{"folder.csv", "kept.csv"} : Names{"folder.csv"}, true,
                         std::strerror(shown), MessageIcon::Exclamation, MessageButtons::Ok));
  }
}

TEST_F(DataExport, ACancelLeavesTheDiskUntouchedAndRowsAreTakenInOnePass) {
  for (int i = 0; i < 20; ++i) (void)appendDataPoint(form, float(i), 2.0f * i, float(i), 7);
  saveAs(dir.file("before.csv"));
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuExeCancel); });
  const std::string path = dir.file("cancelled.csv");
  for (R answer : {R::Ok, R::Yes, R::No}) {  // new file, replace, append
    fs::remove(path);
    if (answer != R::Ok) writeAll(path, kOld), platform.queueAnswer(answer);
    saveAs(path);
    EXPECT_EQ(std::tuple(readAll(path), namesIn(dir.path()).size()),
              std::tuple(answer == R::Ok ? "" : kOld, answer == R::Ok ? 1u : 2u));
  }
  // A stale Cancel does not stop this save; emptying the list while it yields changes nothing.
  form.app.cancelRequested = true;
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuDataDelAll); });
  saveAs(dir.file("snapshot.csv"));
  EXPECT_EQ(
      std::tuple(platform.yieldCount(), readAll(dir.file("snapshot.csv")), form.app.pointCount),
      std::tuple(7, readAll(dir.file("before.csv")), 0));  // each Cancel at its first yield
}

TEST(DataFileText, MissingCellsReadAsEmpty) {
  ListViewControl list;
  list.rows = {{{"1", "a", "b", "c", "d"}, false}, {{"2", "e"}, false}, {{}, false}};
  EXPECT_TRUE(listRowTexts(list, -1).empty());
  EXPECT_EQ(dataFileText(listRowTexts(list, 5), ';'),  // a count beyond the rows
            "Data:X;Data:Y;Source:X;Source:Y\r\na;b;c;d\r\ne;;;\r\n;;;\r\n");
}

}  // namespace
}  // namespace plotvane
