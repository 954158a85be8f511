// The README's worked example (the bundled line chart, 10 divisions, X 0 to
// 10, Y 0 to 100) digitized through the window's handlers, compared byte for
// byte with the committed file the command line is pinned to as well.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "data/data_export.h"
#include "digitize/run_control.h"
#include "sample_charts.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

std::string expectedFile() {
  const char* folder = std::getenv("PLOTVANE_TEST_DATA");
  return testing::readAll(std::string(folder ? folder : "testdata") +
                          "/cli/readme_line_division10.csv");
}

TEST(ReadmeExample, TheWindowSavesTheCommittedFile) {
  const std::string expected = expectedFile();
  ASSERT_FALSE(expected.empty());
  testing::PictureForm f;
  ASSERT_TRUE(f.load("line.bmp", lineChart()));
  f.ui.txtMaxLabelX.setText("10");
  f.ui.txtMaxLabelY.setText("100");
  f.ui.txtSmpX.setText("10");
  txtSmpXLostFocus(f.form);
  menuClick(f.form, MenuId::mnuExeStart);
  const std::string saved = f.folder.file("line.csv");
  f.platform.queueSaveFile(SaveDialogChoice{saved, 1});
  menuClick(f.form, MenuId::mnuDataSave);
  EXPECT_EQ(testing::readAll(saved), expected);
}

}  // namespace
}  // namespace plotvane
