#include "data/data_export.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <future>
#include <set>
#include <string>
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
  // The file type chosen in the dialog, out of range for the last two.
  // clang-format off
  const struct { int fileType; char delimiter; } cases[] = {
      {.fileType = 1, .delimiter = ','}, {.fileType = 2, .delimiter = '\t'},
      {.fileType = 3, .delimiter = ' '}, {.fileType = 9, .delimiter = ','}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "file type " << c.fileType);
    const std::string name = dir.file("type" + std::to_string(c.fileType));
    if (c.fileType != 1) saveAs(name, c.fileType);
    std::string expected = kTwoPointCsv;
    std::replace(expected.begin(), expected.end(), ',', c.delimiter);
    EXPECT_EQ(readAll(name), expected);
    EXPECT_TRUE(platform.messages().empty());
  }
  // Each dialog opens on the type last chosen in it (not one out of range).
  std::vector<int> openedOn;
  for (const auto& dialog : platform.saveDialogs()) openedOn.push_back(dialog.filterIndex);
  EXPECT_EQ(openedOn, (std::vector<int>{1, 1, 2, 3}));
}

TEST_F(DataExport, OverwriteQuestionReplacesOrAppendsThroughLinksOrAsksAgain) {
  // "existing" links to a link to real/data.csv, whose mode is kept; the answers -> the file after
  // clang-format off
  const struct { std::vector<R> answers; std::string after; } cases[] = {
      {.answers = {R::Yes}, .after = kTwoPointCsv},
      {.answers = {R::No}, .after = kOld + kTwoPointCsv},  // the header included
      {.answers = {R::Cancel, R::Cancel, R::Yes}, .after = kTwoPointCsv}};
  // clang-format on
  const std::string existing = dir.file("existing"), target = dir.file("real/data.csv");
  fs::create_directory(dir.file("real"));
  fs::create_symlink("real/data.csv", dir.file("link")), fs::create_symlink("link", existing);
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.answers.size() << " answers");
    writeAll(target, kOld), fs::permissions(target, fs::perms(0640));
    platform.clearMessages();
    const std::size_t dialogs = platform.saveDialogs().size();
    for (R answer : c.answers)
      platform.queueSaveFile(SaveDialogChoice{existing, 1}), platform.queueAnswer(answer);
    menuClick(form, MenuId::mnuDataSave);
    EXPECT_EQ(readAll(target), c.after);
    EXPECT_EQ(platform.saveDialogs().size() - dialogs, c.answers.size());
    EXPECT_EQ(platform.messages().size(), c.answers.size());
    EXPECT_EQ(fs::read_symlink(existing), "link");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(namesIn(dir.file("real")), Names{"data.csv"});
  }
  EXPECT_EQ(platform.messages().at(0).buttons, MessageButtons::YesNoCancel);
  platform.queueAnswer(R::No);  // appending twice gives two headers
  saveAs(existing);
  EXPECT_EQ(readAll(target), kTwoPointCsv + kTwoPointCsv);
  fs::remove(target);  // a link to no file: the file it names is made, with the usual mode
  const mode_t savedMask = umask(022);
  saveAs(existing);
  umask(savedMask);
  EXPECT_EQ(readAll(target), kTwoPointCsv);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0644));
  EXPECT_EQ(namesIn(dir.path()), (Names{"existing", "link", "real"}));
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(DataExport, EveryFailureIsReportedAndLeavesTheOldFileIntact) {
  const std::string kept = dir.file("kept.csv"), fresh = dir.file("new.csv"),
                    missing = dir.file("missing/out.csv"), folder = dir.file("folder.csv");
  fs::create_directory(folder);
  // The operation made to fail with the error shown, or none where the save really fails (as a
  // partial write stopped by the file size limit does); the answer to the question (Yes
  // replaces, No appends, Ok: no file before).
  // clang-format off
  const struct {
    std::string path; std::optional<Op> failing = {}; FileError error; R answer;
  } cases[] = {
      {.path = kept, .failing = Op::Write, .error = ENOSPC, .answer = R::Yes},
      {.path = kept, .failing = Op::Create, .error = EACCES, .answer = R::Yes},
      {.path = kept, .failing = Op::Rename, .error = EACCES, .answer = R::Yes},
      {.path = kept, .failing = Op::Create, .error = EACCES, .answer = R::No},
      {.path = fresh, .failing = Op::Create, .error = EACCES, .answer = R::Ok},
      {.path = fresh, .failing = Op::Exists, .error = EACCES, .answer = R::Ok},
      {.path = missing, .error = ENOENT, .answer = R::Ok},
      {.path = folder, .error = EISDIR, .answer = R::Ok},
      {.path = kept, .error = EFBIG, .answer = R::Yes},
      {.path = kept, .error = EFBIG, .answer = R::No}};
  // clang-format on
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{}, limited{};
  getrlimit(RLIMIT_FSIZE, &saved), limited = {kOld.size() + 20, saved.rlim_max};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.path << " " << std::strerror(c.error) << " " << int(c.answer));
    const bool existed = c.answer != R::Ok;
    fs::remove(kept);
    if (existed) writeAll(kept, kOld), platform.queueAnswer(c.answer);
    if (c.failing) platform.injectFailure(*c.failing, c.path, c.error);
    if (c.error == EFBIG) setrlimit(RLIMIT_FSIZE, &limited);
    saveAs(c.path);
    setrlimit(RLIMIT_FSIZE, &saved);
    ASSERT_EQ(platform.messages().size(), existed ? 2u : 1u);
    EXPECT_EQ(readAll(kept), existed ? kOld : "");
    EXPECT_EQ(namesIn(dir.path()),
              (existed ? Names{"folder.csv", "kept.csv"} : Names{"folder.csv"}));
    EXPECT_TRUE(fs::is_empty(folder));
    const ShownMessage& m = platform.messages().back();
    EXPECT_EQ(m.text, std::strerror(c.error));
    EXPECT_EQ(m.icon, MessageIcon::Exclamation);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
  }
}

TEST_F(DataExport, APipeOrADeviceIsRefusedWithoutWaitingWhetherAppendedOrReplaced) {
  const std::string pipe = dir.file("pipe.csv");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // No answers Append, Yes Replace; the device answers both.
  for (const auto& [path, answer] :
       {std::pair(pipe, R::No), std::pair(pipe, R::Yes), std::pair(std::string("/dev/null"), R::No),
        std::pair(std::string("/dev/null"), R::Yes)}) {
    SCOPED_TRACE(path + (answer == R::No ? " appended" : " replaced"));
    platform.queueAnswer(answer);
    auto saving = std::async(std::launch::async, [&] { saveAs(path); });
    int reader = -1;
    if (saving.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << "writing blocks";
      reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);  // lets the blocked open end
    }
    saving.get();
    if (reader >= 0) close(reader);
    ASSERT_EQ(platform.messages().size(), 2u);
    EXPECT_EQ(platform.messages().back().text, "Not a regular file");
  }
  EXPECT_TRUE(fs::is_fifo(pipe));
}

TEST_F(DataExport, ACancelLeavesTheDiskUntouchedAndRowsAreTakenInOnePass) {
  for (int i = 0; i < 20; ++i) (void)appendDataPoint(form, float(i), 2.0f * i, float(i), 7);
  saveAs(dir.file("before.csv"));
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuExeCancel); });
  const std::string path = dir.file("cancelled.csv");
  for (R answer : {R::Ok, R::Yes, R::No}) {  // new file, replace, append
    SCOPED_TRACE(::testing::Message() << "answer " << int(answer));
    fs::remove(path);
    if (answer != R::Ok) writeAll(path, kOld), platform.queueAnswer(answer);
    saveAs(path);
    EXPECT_EQ(readAll(path), answer == R::Ok ? "" : kOld);
    EXPECT_EQ(namesIn(dir.path()).size(), answer == R::Ok ? 1u : 2u);
  }
  // A stale Cancel does not stop this save; emptying the list while it yields changes nothing.
  form.app.cancelRequested = true;
  platform.setYieldHook([this] { menuClick(form, MenuId::mnuDataDelAll); });
  saveAs(dir.file("snapshot.csv"));
  EXPECT_EQ(platform.yieldCount(), 7);  // each Cancel at its first yield
  EXPECT_EQ(readAll(dir.file("snapshot.csv")), readAll(dir.file("before.csv")));
  EXPECT_EQ(form.app.pointCount, 0);
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
