#include "shell/about.h"

#include <gtest/gtest.h>

#include "platform/headless_platform.h"
#include "shell/form1_events.h"

namespace plotvane {
namespace {

struct AboutCase {
  MenuId language;
  const char* title;
};

TEST(AboutBox, OpensInTheCurrentLanguageAndDisablesTheMainWindowUntilItCloses) {
  const AboutCase cases[] = {
      {.language = MenuId::mnuLangENG, .title = "Plotvane - Verison Infomation"},
      {.language = MenuId::mnuLangJP, .title = "Plotvane - バージョン情報"},
  };
  HeadlessPlatform platform;
  Form1 form{platform};
  formLoad(form, false);
  for (const AboutCase& c : cases) {
    SCOPED_TRACE(c.title);
    menuClick(form, c.language);
    menuClick(form, MenuId::mnuHelpV);
    const auto* about = form.dialogAs<AboutDialog>(DialogId::About);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->window.text, c.title);
    EXPECT_EQ(about->Label1.text, "Plotvane v1.11");
    EXPECT_FALSE(about->Label2.text.empty());
    EXPECT_EQ(about->OKButton.text, "OK");
    EXPECT_FALSE(form.ui.form.enabled);

    menuClick(form, MenuId::mnuHelpV);  // a second load keeps the open box
    EXPECT_EQ(form.dialog(DialogId::About), about);
    aboutOkClick(form);
    EXPECT_EQ(form.dialog(DialogId::About), nullptr);
    EXPECT_TRUE(form.ui.form.enabled);
  }
}

TEST(AboutBox, ShutDownClosesItAndEnablesTheMainWindow) {
  HeadlessPlatform platform;
  Form1 form{platform};
  formLoad(form, false);
  menuClick(form, MenuId::mnuHelpV);
  formUnload(form);
  EXPECT_EQ(form.dialog(DialogId::About), nullptr);
  EXPECT_TRUE(form.ui.form.enabled);
}

}  // namespace
}  // namespace plotvane
