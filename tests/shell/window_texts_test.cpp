// The texts the window shows outside the caption tables' given entries: the
// handler boundary's failures, the names assistive tools announce, in both
// languages.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "app/handler_boundary.h"
#include "base/number_text.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::PictureForm;

TEST(WindowTexts, TheBoundarySpeaksTheUsersLanguage) {
  // clang-format off
  const struct { MenuId language; const char *overflow, *memory, *unexpected; } cases[] = {
      {.language = MenuId::mnuLangENG, .overflow = "Overflow", .memory = "Out of memory",
       .unexpected = "Unexpected error"},
      {.language = MenuId::mnuLangJP, .overflow = "ｵｰﾊﾞｰﾌﾛｰしました。",
       .memory = "メモリが不足しています。", .unexpected = "予期しないエラーが発生しました。"}};
  // clang-format on
  for (const auto& c : cases) {
    PictureForm f;
    menuClick(f.form, c.language);
    EXPECT_FALSE(runHandler(f.form, [] { roundToInt16(32767.5); }));
    EXPECT_FALSE(runHandler(f.form, [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(runHandler(f.form, [] { throw 42; }));
    ASSERT_EQ(f.platform.messages().size(), 3u);
    EXPECT_EQ(f.platform.messages()[0].text, c.overflow);
    EXPECT_EQ(f.platform.messages()[1].text, c.memory);
    EXPECT_EQ(f.platform.messages()[2].text, c.unexpected);
  }
}

TEST(WindowTexts, EveryUnlabelledControlHasANameInEitherLanguage) {
  // clang-format off
  const struct { const char* control; const char *english, *japanese; } cases[] = {
      {.control = "txtLXS", .english = "X Axis Min Scale", .japanese = "X軸 最小値の目盛"},
      {.control = "txtLXE", .english = "X Axis Max Scale", .japanese = "X軸 最大値の目盛"},
      {.control = "txtLYT", .english = "Y Axis Max Scale", .japanese = "Y軸 最大値の目盛"},
      {.control = "txtLYB", .english = "Y Axis Min Scale", .japanese = "Y軸 最小値の目盛"},
      {.control = "Picture1", .english = "Picture", .japanese = "画像"},
      {.control = "txtGrid", .english = "Grid pitch", .japanese = "グリッドの間隔"},
      {.control = "Text1", .english = "X value", .japanese = "ポインタのX値"},
      {.control = "Text2", .english = "Y value", .japanese = "ポインタのY値"},
      {.control = "txtMD", .english = "Resize flag", .japanese = "境界のドラッグ"},
      {.control = "ListView1", .english = "Data points", .japanese = "データの一覧"},
      {.control = "Drive1", .english = "Drives", .japanese = "ドライブ"},
      {.control = "Dir1", .english = "Folders", .japanese = "フォルダ"},
      {.control = "File1", .english = "Picture File", .japanese = "変換する画像を選択します。"}};
  // clang-format on
  PictureForm f;
  Form1Controls& ui = f.ui;
  const Control* controls[] = {&ui.txtLXS,  &ui.txtLXE, &ui.txtLYT, &ui.txtLYB, &ui.Picture1,
                               &ui.txtGrid, &ui.Text1,  &ui.Text2,  &ui.txtMD,  &ui.ListView1,
                               &ui.Drive1,  &ui.Dir1,   &ui.File1};
  ASSERT_EQ(std::size(controls), std::size(cases));
  for (MenuId language : {MenuId::mnuLangJP, MenuId::mnuLangENG}) {
    menuClick(f.form, language);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
      const auto& c = cases[i];
      ASSERT_EQ(controls[i]->name, c.control);
      EXPECT_EQ(controls[i]->accessibleName, language == MenuId::mnuLangJP ? c.japanese : c.english)
          << c.control;
    }
  }
}

}  // namespace
}  // namespace plotvane
