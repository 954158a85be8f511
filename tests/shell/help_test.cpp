#include "shell/help.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

namespace fs = std::filesystem;

TEST(Help, FoldersAreTheStartDirectoryThenTheProgramsOwn) {
  struct Case {
    const char *startDir, *programFolder;
    std::vector<std::string> folders;
  };
  // clang-format off
  const Case cases[] = {
      {.startDir = "/home/u/charts", .programFolder = "", .folders = {"/home/u/charts/help"}},
      {.startDir = "/home/u/charts", .programFolder = "/usr/bin",
       .folders = {"/home/u/charts/help", "/usr/bin/help", "/usr/share/plotvane/help"}},
      {.startDir = "/", .programFolder = "/opt/plotvane/bin/",
       .folders = {"/help", "/opt/plotvane/bin/help", "/opt/plotvane/share/plotvane/help"}},
      {.startDir = "/tmp", .programFolder = "/bin",
       .folders = {"/tmp/help", "/bin/help", "/share/plotvane/help"}}};
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.programFolder);
    EXPECT_EQ(helpFolders(c.startDir, c.programFolder), c.folders);
  }
}

class HelpCommand : public ::testing::Test {
 protected:
  HelpCommand() {
    formLoad(form, false);
    platform.clearMessages();
  }
  void makePage(const std::string& folder) {
    fs::create_directories(folder);
    testing::writeAll(folder + "/Help.html", "<html></html>");
  }
  void pressF1() {
    platform.clearMessages();
    menuClick(form, MenuId::mnuHelpHelp);
  }

  testing::TempWorkingDir dir;  // the start directory
  HeadlessPlatform platform;
  Form1 form{platform};
};

TEST_F(HelpCommand, OpensThePageUnderTheStartDirectory) {
  makePage(dir.file("help"));
  pressF1();
  EXPECT_TRUE(platform.messages().empty());
  EXPECT_EQ(platform.openedDocuments(), std::vector<std::string>{dir.file("help/Help.html")});
}

// Without a help folder under the start directory the folder installed with
// the program serves: beside the executable first, then its share folder.
TEST_F(HelpCommand, FallsBackToTheFolderInstalledWithTheProgram) {
  const std::string program = dir.file("prefix/bin");
  fs::create_directories(program);
  platform.setProgramFolder(program);
  makePage(dir.file("prefix/share/plotvane/help"));
  pressF1();
  EXPECT_EQ(platform.openedDocuments().back(), dir.file("prefix/share/plotvane/help/Help.html"));
  makePage(program + "/help");
  pressF1();
  EXPECT_EQ(platform.openedDocuments().back(), program + "/help/Help.html");
  EXPECT_TRUE(platform.messages().empty());
}

TEST_F(HelpCommand, AMissingFolderOrPageIsReported) {
  struct Case {
    MenuId language;
    bool folder;
    std::string text;
  };
  // clang-format off
  const Case cases[] = {
      {.language = MenuId::mnuLangENG, .folder = false, .text = "ERROR_PATH_NOT_FOUND"},
      {.language = MenuId::mnuLangJP, .folder = false, .text = "ERROR_PATH_NOT_FOUND"},
      {.language = MenuId::mnuLangENG, .folder = true,
       .text = "There is no help file in the directly. " + dir.file("help")},
      {.language = MenuId::mnuLangJP, .folder = true,
       .text = "以下のディレクトリににヘルプファイルが見つかりません。" + dir.file("help")}};
  // clang-format on
  platform.setProgramFolder(dir.file("bin"));  // holds no help either
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    if (c.folder) fs::create_directory(dir.file("help"));
    menuClick(form, c.language);
    pressF1();
    ASSERT_EQ(platform.messages().size(), 1u);
    EXPECT_EQ(platform.messages()[0].text, c.text);
    EXPECT_EQ(platform.messages()[0].icon, MessageIcon::None);
    EXPECT_EQ(platform.messages()[0].buttons, MessageButtons::Ok);
  }
  EXPECT_TRUE(platform.openedDocuments().empty());
}

TEST_F(HelpCommand, AViewerThatCannotStartIsReported) {
  makePage(dir.file("help"));
  platform.setDocumentsOpen(false);
  pressF1();
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text,
            "The help page could not be opened. " + dir.file("help/Help.html"));
}

}  // namespace
}  // namespace plotvane
