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
#include "picture/rotation.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"
#include "view/rotate_dialog.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::readAll;
using testing::writeAll;
using Op = HeadlessPlatform::FileOperation;
using R = MessageResult;
using Names = std::set<std::string>;

const std::string kOld = "the picture that was there";

class SavePicture : public ::testing::Test {
 protected:
  SavePicture() { EXPECT_TRUE(f.load("chart.bmp", codedPicture(6, 4))); }

  // Queues the dialog's answers (nothing = cancelled) and the question's, then runs the command
  // with the messages cleared.
  void save(const std::vector<std::optional<std::string>>& names, const std::vector<R>& answers) {
    f.platform.clearMessages();
    for (const auto& name : names)
      f.platform.queueSaveFile(name ? std::optional(SaveDialogChoice{*name, 1}) : std::nullopt);
    for (R answer : answers) f.platform.queueAnswer(answer);
    menuClick(f.form, MenuId::mnuFileSave);
  }
  Names names() const {
    Names found;
    for (const auto& entry : std::filesystem::directory_iterator(f.folder.path()))
      found.insert(entry.path().filename());
    return found;
  }

  testing::PictureForm f;
};

TEST_F(SavePicture, TheDialogHasTheTitleAndFileTypesOfTheLanguage) {
  // clang-format off
  const struct { MenuId language; const char *title, *bitmaps, *all; } cases[] = {
      {MenuId::mnuLangENG, "Save Picture as Windows Bitmap", "Windows Bitmap (*.bmp)", "All Files (*.*)"},
      {MenuId::mnuLangJP, "画像をWindowsビットマップ形式で保存", "Windowsﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)", "すべてのﾌｧｲﾙ (*.*)"}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    menuClick(f.form, c.language);
    save({std::nullopt}, {});  // cancelled: no question, no file
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
  EXPECT_TRUE(names().empty());
}

// A new name is written without a question; over an existing file Yes replaces, No writes
// nothing, Cancel shows the dialog again.
TEST_F(SavePicture, TheAnswersToTheOverwriteQuestion) {
  const std::string target = f.folder.file("saved.bmp");
  // clang-format off
  const struct { const char* name; bool existed = true; std::vector<R> answers; bool written; } cases[] = {
      {.name = "new name", .existed = false, .answers = {}, .written = true},
      {.name = "Yes", .answers = {R::Yes}, .written = true},
      {.name = "No", .answers = {R::No}, .written = false},
      {.name = "Cancel, Yes", .answers = {R::Cancel, R::Yes}, .written = true},
      {.name = "Cancel, No", .answers = {R::Cancel, R::No}, .written = false}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(target);
    if (c.existed) writeAll(target, kOld);
    const std::size_t dialogs = f.platform.saveDialogs().size(), shown = c.existed ? 0 : 1;
    save(std::vector<std::optional<std::string>>(c.answers.size() + shown, target), c.answers);
    EXPECT_EQ(readAll(target), c.written ? bitmapFileBytes(codedPicture(6, 4)) : kOld);
    EXPECT_EQ(f.platform.saveDialogs().size() - dialogs, c.answers.size() + shown);
    ASSERT_EQ(f.platform.messages().size(), c.answers.size());
    for (const ShownMessage& question : f.platform.messages()) {
      EXPECT_EQ(question.text, "Do you over write this file?");
      EXPECT_EQ(question.buttons, MessageButtons::YesNoCancel);
      EXPECT_EQ(question.icon, MessageIcon::Question);
    }
    EXPECT_EQ(names(), Names{"saved.bmp"});
  }
}

// The working picture as it is now (turned CW by 90, which is 270), none of the view's overlays.
TEST_F(SavePicture, TheFileIsTheWorkingPictureAfterARotation) {
  menuClick(f.form, MenuId::mnuPictRot);
  f.form.dialogAs<RotateDialog>(DialogId::Rotate)->txtRot.setText("90");
  rotateOkClick(f.form);
  save({f.folder.file("turned.bmp")}, {});
  EXPECT_EQ(readAll(f.folder.file("turned.bmp")),
            bitmapFileBytes(RotatePicture(codedPicture(6, 4), 270).value()));
}

// Every failure is reported with the system's description and the exclamation icon; the file that
// was there stays byte for byte, and no temporary file is left.
TEST_F(SavePicture, AFailedWriteIsReportedAndKeepsTheOldFile) {
  const std::string kept = f.folder.file("kept.bmp"), fresh = f.folder.file("fresh.bmp");
  // clang-format off
  const struct { std::string path; Op failing; FileError error; } cases[] = {
      {kept, Op::Write, ENOSPC}, {kept, Op::Create, EACCES}, {kept, Op::Close, EIO},
      {kept, Op::Rename, EACCES}, {fresh, Op::Write, ENOSPC}, {kept, Op::Exists, EACCES}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.path << " failing in " << int(c.failing));
    writeAll(kept, kOld);
    f.platform.injectFailure(c.failing, c.path, c.error);
    const bool asked = c.path == kept && c.failing != Op::Exists;
    save({c.path}, asked ? std::vector<R>{R::Yes} : std::vector<R>{});
    EXPECT_EQ(readAll(kept), kOld);
    EXPECT_EQ(names(), Names{"kept.bmp"});
    ASSERT_EQ(f.platform.messages().size(), asked ? 2u : 1u);
    const ShownMessage& report = f.platform.messages().back();
    EXPECT_EQ(report.text, std::strerror(c.error));
    EXPECT_EQ(report.icon, MessageIcon::Exclamation);
    EXPECT_EQ(report.buttons, MessageButtons::Ok);
  }
}

}  // namespace
}  // namespace plotvane
