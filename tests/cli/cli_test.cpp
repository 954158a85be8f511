#include "cli/cli.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_runs.h"
#include "digitize/graph_type.h"
#include "digitize/run_control.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::readAll;
using testing::writeAll;

using testing::PictureForm;
using testing::TempWorkingDir;

using testing::chart;
using testing::CliRun;
using testing::runWith;

CliRun run(const std::vector<std::string>& arguments) {
  HeadlessPlatform platform;
  platform.setPicture("chart.bmp", chart());
  return runWith(platform, arguments);
}

TEST(Cli, WritesWhatTheWindowsSaveWritesForEveryType) {
  // The Save Data dialog's file type for each delimiter.
  // clang-format off
  const struct {
    const char* type; GraphType graphType; const char* delimiter; int fileType;
  } cases[] = {
      {.type = "line", .graphType = kTraceLine, .delimiter = "comma", .fileType = 1},
      {.type = "points", .graphType = kPlotAllPoints, .delimiter = "tab", .fileType = 2},
      {.type = "surface", .graphType = kTraceSurface, .delimiter = "space", .fileType = 3}};
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    const CliRun batch =
        run({"digitize", "chart.bmp", "--type", c.type, "--rect", "10,5,110,75", "--x", "-1,2.5",
             "--y", "100,300", "--division", "37", "--filter", "3", "--delimiter", c.delimiter});
    ASSERT_EQ(batch.code, kCliOk) << batch.err;
    EXPECT_EQ(batch.err, "");

    PictureForm window;
    ASSERT_TRUE(window.load("chart.bmp", chart()));
    window.state.Picture2.setRect({.lineXS = 10, .lineXE = 110, .lineYT = 5, .lineYB = 75});
    window.ui.txtMinLabelX.setText("-1");
    window.ui.txtMaxLabelX.setText("2.5");
    window.ui.txtMinLabelY.setText("100");
    window.ui.txtMaxLabelY.setText("300");
    window.ui.txtSmpX.setText("37");
    txtSmpXLostFocus(window.form);
    window.ui.cmbFRange.setText("3");
    window.ui.cmbGraphType.selected = c.graphType;
    cmbGraphTypeClick(window.form);
    menuClick(window.form, MenuId::mnuExeStart);
    ASSERT_GT(window.app.pointCount, 1);
    const std::string saved = window.folder.file("saved.txt");
    window.platform.queueSaveFile(SaveDialogChoice{saved, c.fileType});
    menuClick(window.form, MenuId::mnuDataSave);
    EXPECT_EQ(batch.out, readAll(saved));
  }
}

TEST(Cli, DefaultsAndPitch) {
  const CliRun defaults = run({"digitize", "chart.bmp", "--type", "line"});
  ASSERT_EQ(defaults.code, kCliOk);
  EXPECT_TRUE(defaults.out.starts_with("Data:X,Data:Y,Source:X,Source:Y\r\n0,"));
  EXPECT_EQ(std::count(defaults.out.begin(), defaults.out.end(), '\n'), 1 + 201);

  // A pitch sets the count as if typed into the pitch field: 0.25 over 0 to 1.
  const CliRun pitch = run({"digitize", "chart.bmp", "--type", "line", "--pitch", "0.25"});
  ASSERT_EQ(pitch.code, kCliOk);
  EXPECT_EQ(std::count(pitch.out.begin(), pitch.out.end(), '\n'), 1 + 5);

  // Nothing dark inside the rectangle: the header line only.
  const CliRun empty = run({"digitize", "chart.bmp", "--type", "points", "--rect", "0,20,3,30"});
  ASSERT_EQ(empty.code, kCliOk);
  EXPECT_EQ(empty.out, "Data:X,Data:Y,Source:X,Source:Y\r\n");
}

TEST(Cli, FailuresPrintTheMessageAndWriteNothing) {
  TempWorkingDir dir;
  const std::string output = dir.file("out.csv");
  // clang-format off
  const struct { std::vector<std::string> arguments; const char* message; } cases[] = {
      {.arguments = {"digitize", "missing.bmp", "--type", "line"},
       .message = "Tthis type of file is not supported.\n"
                  "plotvane-cli: missing.bmp: No such file or directory\n"},
      {.arguments = {"digitize", "chart.bmp", "--type", "line", "--filter", "2"},
       .message = "Y-Filtering must be an odd whole number from 1 to 127.\n"},
      {.arguments = {"digitize", "chart.bmp", "--type", "surface", "--division", "0"},
       .message = "Have to input number more than 1.\n"},
      {.arguments = {"digitize", "chart.bmp", "--type", "line", "--pitch", "0.00001"},
       .message = "Have to input number from 1 to 32766.\n"}};
  // clang-format on
  for (const auto& c : cases) {
    std::vector<std::string> arguments = c.arguments;
    arguments.insert(arguments.end(), {"--output", output});
    const CliRun result = run(arguments);
    EXPECT_EQ(result.code, kCliFailed) << c.message;
    EXPECT_EQ(result.err, c.message);
    EXPECT_FALSE(std::filesystem::exists(output));
  }

  // An output that cannot be written is reported and fails.
  const CliRun blocked =
      run({"digitize", "chart.bmp", "--type", "line", "--output", dir.file("no/such/folder.csv")});
  EXPECT_EQ(blocked.code, kCliFailed);
  EXPECT_NE(blocked.err.find("No such file or directory"), std::string::npos);
}

}  // namespace
}  // namespace plotvane
