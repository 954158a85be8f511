// The Help menu: the help page and the about box.
#include "shell/help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/headless_platform.h"
#include "shell/about.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

namespace fs = std::filesystem;

class HelpMenu : public ::testing::Test {
 protected:
  HelpMenu() { formLoad(form, false); }
  void makePage(const std::string& folder) {
    fs::create_directories(folder);
    testing::writeAll(folder + "/Help.html", "<html></html>");
  }
  void pressF1() {
    platform.clearMessages();
    menuClick(form, MenuId::mnuHelpHelp);
  }
  void expectOneMessage(const std::string& text) {
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].text, text);
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok);
  }

  testing::TempWorkingDir dir;  // the start directory
  HeadlessPlatform platform;
  Form1 form{platform};
};

// Without a help folder under the start directory the folder installed with the program serves:
// beside the executable first, then its share folder.
TEST_F(HelpMenu, OpensThePageUnderTheStartDirectoryOrTheProgramsFolder) {
  const std::string program = dir.file("prefix/bin");
  fs::create_directories(program);
  platform.setProgramFolder(program);
  makePage(dir.file("prefix/share/plotvane/help"));
  pressF1();
  EXPECT_EQ(platform.openedDocuments().back(), dir.file("prefix/share/plotvane/help/Help.html"));
  makePage(program + "/help");
  pressF1();
  EXPECT_EQ(platform.openedDocuments().back(), program + "/help/Help.html");
  makePage(dir.file("help"));
  pressF1();
  EXPECT_EQ(platform.openedDocuments().back(), dir.file("help/Help.html"));
  EXPECT_TRUE(platform.messages().empty());
  platform.setDocumentsOpen(false);  // a viewer that cannot start
  pressF1();
  expectOneMessage("The help page could not be opened. " + dir.file("help/Help.html"));
}

TEST_F(HelpMenu, AMissingFolderOrPageIsReported) {
  // clang-format off
  const struct { MenuId language; bool folder; std::string text; } cases[] = {
      {MenuId::mnuLangJP, false, "ERROR_PATH_NOT_FOUND"},
      {MenuId::mnuLangENG, true, "There is no help file in the directly. " + dir.file("help")},
      {MenuId::mnuLangJP, true, "以下のディレクトリににヘルプファイルが見つかりません。" + dir.file("help")}};
  // clang-format on
  platform.setProgramFolder(dir.file("bin"));  // holds no help either
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.folder) fs::create_directory(dir.file("help"));
    menuClick(form, c.language);
    pressF1();
    expectOneMessage(c.text);
  }
  EXPECT_TRUE(platform.openedDocuments().empty());
}

// A second load keeps the open box; OK and shut-down close it and enable the main window again.
TEST_F(HelpMenu, TheAboutBoxOpensInTheCurrentLanguageAndDisablesTheMainWindowUntilItCloses) {
  // clang-format off
  const std::pair<MenuId, const char*> cases[] = {
      {MenuId::mnuLangENG, "Plotvane - Verison Infomation"}, {MenuId::mnuLangJP, "Plotvane - バージョン情報"}};
  // clang-format on
  for (const auto& [language, title] : cases) {
    SCOPED_TRACE(title);
    menuClick(form, language);
    menuClick(form, MenuId::mnuHelpV);
    const auto* about = form.dialogAs<AboutDialog>(DialogId::About);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->window.text, title);
    EXPECT_FALSE(form.ui.form.enabled);
    menuClick(form, MenuId::mnuHelpV);
    EXPECT_EQ(form.dialog(DialogId::About), about);
    aboutOkClick(form);
    EXPECT_EQ(form.dialog(DialogId::About), nullptr);
    EXPECT_TRUE(form.ui.form.enabled);
  }
  menuClick(form, MenuId::mnuHelpV);
  formUnload(form);
  EXPECT_EQ(form.dialog(DialogId::About), nullptr);
  EXPECT_TRUE(form.ui.form.enabled);
}

}  // namespace
}  // namespace plotvane
