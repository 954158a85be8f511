#include "view/save_picture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "picture/bitmap_file.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"
#include "view/rotate_dialog.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;
using testing::readAll;
using testing::writeAll;
namespace fs = std::filesystem;
using Op = HeadlessPlatform::FileOperation;
using R = MessageResult;

const std::string kOld = "the picture that was there";

std::set<std::string> namesIn(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
  return names;
}

// Width and height from a bitmap file's information header.
std::pair<int, int> bitmapSize(const std::string& bytes) {
  const auto at = [&](std::size_t offset) {
    return int(static_cast<unsigned char>(bytes.at(offset))) |
           int(static_cast<unsigned char>(bytes.at(offset + 1))) << 8;
  };
  return {at(18), at(22)};
}

class SavePicture : public ::testing::Test {
 protected:
  SavePicture() { EXPECT_TRUE(f.load("chart.bmp", codedPicture(6, 4))); }

  // Queues the dialog's answers (nothing = cancelled) and the question's,
  // then runs the command with the messages cleared.
  void save(const std::vector<std::optional<std::string>>& names, const std::vector<R>& answers) {
    f.platform.clearMessages();
    for (const auto& name : names)
      f.platform.queueSaveFile(name ? std::optional(SaveDialogChoice{*name, 1}) : std::nullopt);
    for (R answer : answers) f.platform.queueAnswer(answer);
    menuClick(f.form, MenuId::mnuFileSave);
  }
  std::string pictureFile() const { return bitmapFileBytes(f.state.Picture2.pixels()); }

  PictureForm f;
};

TEST_F(SavePicture, TheDialogHasTheTitleAndFileTypesOfTheLanguage) {
  struct Case {
    MenuId language;
    const char *title, *bitmaps, *all;
  };
  // clang-format off
  const Case cases[] = {
      {.language = MenuId::mnuLangENG, .title = "Save Picture as Windows Bitmap",
       .bitmaps = "Windows Bitmap (*.bmp)", .all = "All Files (*.*)"},
      {.language = MenuId::mnuLangJP, .title = "画像をWindowsビットマップ形式で保存",
       .bitmaps = "Windowsﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)", .all = "すべてのﾌｧｲﾙ (*.*)"}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    menuClick(f.form, c.language);
    save({std::nullopt}, {});
    const auto& shown = f.platform.saveDialogs().back();
    EXPECT_EQ(shown.request.title, c.title);
    ASSERT_EQ(shown.request.filters.size(), 2u);
    EXPECT_EQ(shown.request.filters[0].text, c.bitmaps);
    EXPECT_EQ(shown.request.filters[0].patterns, std::vector<std::string>{"*.bmp"});
    EXPECT_EQ(shown.request.filters[1].text, c.all);
    EXPECT_EQ(shown.request.filters[1].patterns, std::vector<std::string>{"*"});
    EXPECT_EQ(shown.filterIndex, 1);
    EXPECT_TRUE(f.platform.messages().empty());
  }
  EXPECT_TRUE(namesIn(f.folder.path()).empty());
}

// A new name is written without a question; over an existing file Yes
// replaces, No writes nothing, Cancel shows the dialog again.
TEST_F(SavePicture, TheAnswersToTheOverwriteQuestion) {
  const std::string target = f.folder.file("saved.bmp");
  struct Case {
    const char* name;
    bool existed;
    std::vector<R> answers;
    bool written;
  };
  const Case cases[] = {
      {.name = "new name", .existed = false, .answers = {}, .written = true},
      {.name = "Yes", .existed = true, .answers = {R::Yes}, .written = true},
      {.name = "No", .existed = true, .answers = {R::No}, .written = false},
      {.name = "Cancel, Yes", .existed = true, .answers = {R::Cancel, R::Yes}, .written = true},
      {.name = "Cancel, No", .existed = true, .answers = {R::Cancel, R::No}, .written = false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(target);
    if (c.existed) writeAll(target, kOld);
    const std::size_t dialogs = f.platform.saveDialogs().size();
    save(
        std::vector<std::optional<std::string>>(std::max<std::size_t>(c.answers.size(), 1), target),
        c.answers);
    EXPECT_EQ(readAll(target), c.written ? pictureFile() : kOld);
    EXPECT_EQ(f.platform.saveDialogs().size() - dialogs,
              std::max<std::size_t>(c.answers.size(), 1));
    ASSERT_EQ(f.platform.messages().size(), c.answers.size());
    for (const ShownMessage& question : f.platform.messages()) {
      EXPECT_EQ(question.text, "Do you over write this file?");
      EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
      EXPECT_EQ(question.icon, MessageIcon::Question);
    }
    EXPECT_EQ(namesIn(f.folder.path()), std::set<std::string>{"saved.bmp"});
  }
  save({std::nullopt}, {});  // Cancel in the dialog
  EXPECT_TRUE(f.platform.messages().empty());
}

// The working picture as it is now: the rotated size, none of the overlays
// that the view draws.
TEST_F(SavePicture, TheFileIsTheWorkingPictureAfterARotation) {
  menuClick(f.form, MenuId::mnuPictRot);
  f.form.dialogAs<RotateDialog>(DialogId::Rotate)->txtRot.setText("90");
  rotateOkClick(f.form);
  const std::string target = f.folder.file("turned.bmp");
  save({target}, {});
  const std::string bytes = readAll(target);
  EXPECT_EQ(bitmapSize(bytes), std::make_pair(4, 6));
  EXPECT_EQ(bytes, bitmapFileBytes(f.state.Picture2.pixels()));
}

// Every failure is reported with the system's description and the
// exclamation icon; the file that was there stays byte for byte, and no
// temporary file is left.
TEST_F(SavePicture, AFailedWriteIsReportedAndKeepsTheOldFile) {
  const std::string kept = f.folder.file("kept.bmp"), fresh = f.folder.file("fresh.bmp");
  struct Case {
    const char* name;
    std::string path;
    Op failing;
    FileError error;
  };
  const Case cases[] = {
      {.name = "replace, write", .path = kept, .failing = Op::Write, .error = ENOSPC},
      {.name = "replace, create", .path = kept, .failing = Op::Create, .error = EACCES},
      {.name = "replace, close", .path = kept, .failing = Op::Close, .error = EIO},
      {.name = "replace, rename", .path = kept, .failing = Op::Rename, .error = EACCES},
      {.name = "new, write", .path = fresh, .failing = Op::Write, .error = ENOSPC},
      {.name = "existence test", .path = kept, .failing = Op::Exists, .error = EACCES},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    writeAll(kept, kOld);
    f.platform.injectFailure(c.failing, c.path, c.error);
    const bool asked = c.path == kept && c.failing != Op::Exists;
    save({c.path}, asked ? std::vector<R>{R::Yes} : std::vector<R>{});
    EXPECT_EQ(readAll(kept), kOld);
    EXPECT_EQ(namesIn(f.folder.path()), std::set<std::string>{"kept.bmp"});
    ASSERT_EQ(f.platform.messages().size(), asked ? 2u : 1u);
    const ShownMessage& report = f.platform.messages().back();
    EXPECT_EQ(report.text, std::strerror(c.error));
    EXPECT_EQ(report.icon, MessageIcon::Exclamation);
    EXPECT_EQ(report.buttons, MessageButtons::Ok);
  }
}

}  // namespace
}  // namespace plotvane
