#include "shell/form1_events.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>
#include <string>

#include "app/graph_types.h"
#include "app/handler_boundary.h"
#include "app/panes.h"
#include "base/number_text.h"
#include "platform/headless_platform.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using testing::readAll;
using testing::writeAll;
using Tabs = std::vector<std::string>;

constexpr int kJapanese = 0, kEnglish = 1;  // any language value other than 0 counts as English

class Form1Events : public ::testing::Test {
 protected:
  Form1Events() { platform.setEnvironment("LANG", "en_US.UTF-8"); }
  void start() { formLoad(form); }

  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  Form1 form{platform};
};

// Without a settings file: its failed read is reported, and the defaults are shown.
TEST_F(Form1Events, StartUpWithoutSettingsFileInEnglish) {
  start();
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, dir.file("Plotinf.ini") + ": No such file or directory");
  EXPECT_EQ(platform.messages()[0].icon, MessageIcon::Exclamation);
  EXPECT_EQ(form.app.undoRing->undoBufferSize(), 50);
  EXPECT_EQ(form.state.settingsDir, dir.path());
  EXPECT_EQ(form.state.maxX, 1);
  EXPECT_EQ(form.state.maxY, 1);
}

// The file's language and undo size over the locale's; without a file the locale decides.
TEST_F(Form1Events, LanguageAndUndoCapacityComeFromSettingsFileOverLocale) {
  // clang-format off
  const struct { const char* lang; std::optional<std::string> file; int language; std::size_t undoSlots; } cases[] = {
      {"en_US.UTF-8", "Language=Japanese\r\nUndoBufferSize=10\r\n", kJapanese, 11},
      {"ja_JP.UTF-8", std::nullopt, kJapanese, 51}, {"ja_JP.UTF-8", "Language=English\r\n", kEnglish, 51}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.lang) + " / " + c.file.value_or("no file"));
    testing::TempWorkingDir caseDir;
    HeadlessPlatform casePlatform;
    casePlatform.setEnvironment("LANG", c.lang);
    if (c.file) writeAll(caseDir.file("Plotinf.ini"), *c.file);
    Form1 caseForm(casePlatform);
    formLoad(caseForm);
    EXPECT_EQ(caseForm.app.language, c.language);
    EXPECT_EQ(caseForm.app.undoRing->undoBufferSize() + 1u, c.undoSlots);
    EXPECT_EQ(casePlatform.messages().size(), c.file ? 0u : 1u);
    EXPECT_EQ(caseForm.ui.TabStrip1.tabs[0], c.language == kJapanese ? "設定" : "Setting");
  }
}

// An unknown tab changes nothing.
TEST_F(Form1Events, PaneSwitchShowsOnePaneAndTheListOnlyWithTheDataPane) {
  start();
  constexpr int kSetting = int(Pane::Setting), kFile = int(Pane::File), kData = int(Pane::Data);
  // clang-format off
  const struct { int tab; bool setting = false, file = false, list = false; } cases[] = {
      {.tab = kFile, .file = true}, {.tab = kSetting, .setting = true}, {.tab = kData, .list = true},
      {.tab = 4, .list = true}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tab);
    form.ui.TabStrip1.selected = c.tab;
    tabStripClick(form);
    EXPECT_EQ(form.ui.frameSetting.visible, c.setting);
    EXPECT_EQ(form.ui.frameFile.visible, c.file);
    EXPECT_EQ(form.ui.frameList.visible, c.list);
    EXPECT_EQ(form.ui.ListView1.visible, c.list);
  }
}

TEST_F(Form1Events, ToolbarRunsTheCommandOfTheButtonAndSpacersDoNothing) {
  start();
  for (int position : {1, 15, -3}) {
    toolbarButtonClick(form, position);
    EXPECT_FALSE(form.app.cancelRequested) << position;
  }
  toolbarButtonClick(form, toolbarPositionOf(MenuId::mnuExeCancel).value());
  EXPECT_TRUE(form.app.cancelRequested);
  EXPECT_EQ(platform.messages().size(), 1u);  // only the settings warning
}

TEST_F(Form1Events, LanguageSwitchRewritesEveryTextAndIsIdempotent) {
  start();
  std::string& size = form.ui.StatusBar1.panels[std::size_t(StatusPanel::PictureSize)];
  size = "Size : w:640 h:480";
  menuClick(form, MenuId::mnuLangJP);
  EXPECT_EQ(size, "原画ｻｲｽﾞ : ");
  EXPECT_EQ(form.ui.TabStrip1.tabs, (Tabs{"設定", "ﾌｧｲﾙ", "ﾃﾞｰﾀ"}));
  EXPECT_EQ(testing::toolButtonOf(form.ui, MenuId::mnuEdetUndo).caption, "戻す  ");
  const AppState japaneseOnce = form.app;
  menuClick(form, MenuId::mnuLangJP);
  EXPECT_EQ(form.app.captionTable, japaneseOnce.captionTable);
  EXPECT_EQ(form.app.messageTable, japaneseOnce.messageTable);
  menuClick(form, MenuId::mnuLangENG);
  const AppState englishOnce = form.app;
  menuClick(form, MenuId::mnuLangENG);
  EXPECT_EQ(form.app.captionTable, englishOnce.captionTable);
  EXPECT_EQ(form.ui.cmbGraphType.items[3], "Trece Surface");
  EXPECT_EQ(form.ui.cmbGraphType.selected, kTraceLine);
}

// Unsaved points do not hold the exit up; the only message is the failed delete of the settings
// file that did not exist.
TEST_F(Form1Events, ExitWritesTheSettingsWithoutAskingAndClosesTheWindow) {
  start();
  menuClick(form, MenuId::mnuLangJP);
  menuClick(form, MenuId::mnuLangENG);
  platform.clearMessages();
  form.app.pointCount = 3;
  menuClick(form, MenuId::mnuFileExit);
  EXPECT_TRUE(form.state.closed);
  EXPECT_EQ(readAll(dir.file("Plotinf.ini")), "Language=English\r\nUndoBufferSize=50\r\n");
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, dir.file("Plotinf.ini") + ": No such file or directory");
  EXPECT_NE(platform.messages()[0].buttons, MessageButtons::YesNo);
}

TEST_F(Form1Events, StartedInAFolderSinceDeletedTheSettingsFileIsNeverAtTheRoot) {
  testing::TempWorkingDir gone;
  ASSERT_EQ(rmdir(gone.path().c_str()), 0);
  // Kept off the real root should the program ever reach for it.
  for (const auto operation :
       {HeadlessPlatform::FileOperation::Read, HeadlessPlatform::FileOperation::Exists,
        HeadlessPlatform::FileOperation::Create, HeadlessPlatform::FileOperation::Write})
    platform.injectFailure(operation, "/Plotinf.ini", EROFS);
  start();
  EXPECT_EQ(form.state.settingsDir, "");
  menuClick(form, MenuId::mnuFileExit);
  // The read, the old file and the new one: all the bare name, none there.
  ASSERT_EQ(platform.messages().size(), 3u);
  for (const ShownMessage& shown : platform.messages())
    EXPECT_EQ(shown.text, "Plotinf.ini: No such file or directory");
}

TEST(PictureArgument, QuotesAroundTheWholeArgumentAreRemoved) {
  // clang-format off
  const struct { std::optional<std::string> argument, path = {}; } cases[] = {
      {std::nullopt}, {"\""}, {"\"\""}, {"\"/home/a b/chart.png\"", "/home/a b/chart.png"},
      {"\"/half-quoted.png", "\"/half-quoted.png"}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(pictureArgument(c.argument), c.path) << ::testing::PrintToString(c.argument);
}

// The handler boundary turns failures into messages in the user's language, and the program goes
// on.
TEST(WindowTexts, TheBoundarySpeaksTheUsersLanguage) {
  // clang-format off
  const struct { MenuId language; const char *overflow, *memory, *unexpected; } cases[] = {
      {MenuId::mnuLangENG, "Overflow", "Out of memory", "Unexpected error"},
      {MenuId::mnuLangJP, "ｵｰﾊﾞｰﾌﾛｰしました。", "メモリが不足しています。", "予期しないエラーが発生しました。"}};
  // clang-format on
  for (const auto& c : cases) {
    testing::PictureForm f;
    menuClick(f.form, c.language);
    EXPECT_FALSE(runHandler(f.form, [] { roundToInt16(32767.5); }));
    EXPECT_FALSE(runHandler(f.form, [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(runHandler(f.form, [] { throw 42; }));
    int ran = 0;
    EXPECT_TRUE(runHandler(f.form, [&] { ++ran; }));
    EXPECT_EQ(ran, 1);
    ASSERT_EQ(f.platform.messages().size(), 3u);
    EXPECT_EQ(f.platform.messages()[0].text, c.overflow);
    EXPECT_EQ(f.platform.messages()[1].text, c.memory);
    EXPECT_EQ(f.platform.messages()[2].text, c.unexpected);
  }
}

}  // namespace
}  // namespace plotvane
