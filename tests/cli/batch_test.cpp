// Many pictures with one calibration: one data file per picture, failures
// reported and skipped, the same files and messages whatever the jobs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_runs.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

using testing::chart;
using testing::CliPictures;
using testing::CliRun;
using testing::readAll;
using testing::TempWorkingDir;
using Arguments = std::vector<std::string>;
using namespace std::string_literals;

// Dark pixels in a pattern whose blob scan meets spans without a dark cell:
// Plot All Points ends with "SumX,SumY ERROR".
PixelArray sumErrorPicture() {
  const char* rows[] = {".###..", "#...#.", "#.#..#", "...#..", "...#..", "#....."};
  PixelArray picture(6, 6, 0xFFFFFF);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x)
      if (rows[y][x] == '#') picture.set(x, y, 0);
  return picture;
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

Arguments with(Arguments arguments, const Arguments& more) {
  arguments.insert(arguments.end(), more.begin(), more.end());
  return arguments;
}

TEST(CliBatch, AFailedPictureIsReportedAndTheOthersMatchSingleRuns) {
  TempWorkingDir folder;
  CliPictures pictures;
  pictures.add("a.bmp", chart());
  pictures.add("charts/b.gif", chart(97, 64));
  pictures.add("sum.bmp", sumErrorPicture());
  pictures.add("c.png", chart(150, 40));
  const Arguments calibration = {"--type", "points", "--x", "0,10", "--y", "-5,5"};

  const CliRun batch =
      pictures.run(with({"digitize", "a.bmp", "broken.jpg", "charts/b.gif", "sum.bmp", "c.png"},
                        with(calibration, {"--output-dir", "out"})));
  EXPECT_EQ(batch.code, kCliFailed);
  EXPECT_EQ(batch.out, "");
  EXPECT_TRUE(
      batch.err.starts_with("broken.jpg: Tthis type of file is not supported.\n"
                            "broken.jpg: No such file or directory\n"
                            "sum.bmp: SumX,SumY ERROR\n"
                            "plotvane-cli: 5 pictures, "))
      << batch.err;
  EXPECT_TRUE(batch.err.ends_with(" points, 2 failed\n")) << batch.err;
  EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"a.csv", "b.csv", "c.csv"}));

  for (const auto& [picture, file] :
       {std::pair("a.bmp", "out/a.csv"), std::pair("charts/b.gif", "out/b.csv"),
        std::pair("c.png", "out/c.csv")}) {
    const CliRun single = pictures.run(with({"digitize", picture}, calibration));
    ASSERT_EQ(single.code, kCliOk) << picture;
    EXPECT_GT(single.out.size(), 40u) << picture;
    EXPECT_EQ(readAll(file), single.out) << picture;
    const CliRun written =
        pictures.run(with({"digitize", picture, "--output", "single.csv"}, calibration));
    EXPECT_EQ(written.code, kCliOk);
    EXPECT_EQ(readAll("single.csv"), single.out) << picture;
  }
}

TEST(CliBatch, JobsChangeNeitherFilesNorMessages) {
  TempWorkingDir folder;
  CliPictures pictures;
  Arguments arguments = {"digitize"};
  for (int i = 0; i < 14; ++i) {
    const std::string name = "p" + std::to_string(i) + ".bmp";
    // Every fifth picture cannot be read.
    if (i % 5 != 3) pictures.add(name, chart(60 + 7 * i, 50 + 3 * i));
    arguments.push_back(name);
  }
  arguments = with(arguments, {"--type", "line", "--rect-fraction", "0.1,0.05,0.9,0.95",
                               "--division", "17", "--delimiter", "tab", "--rotate", "-3"});

  std::vector<CliRun> runs;
  std::vector<std::vector<std::string>> contents;
  for (const char* jobs : {"1", "4", "14"}) {
    const std::string out = std::string("out") + jobs;
    runs.push_back(pictures.run(with(arguments, {"--jobs", jobs, "--output-dir", out})));
    std::vector<std::string> files;
    for (const std::string& name : filesIn(out))
      files.push_back(name + "\n" + readAll(out + "/" + name));
    contents.push_back(files);
  }
  ASSERT_EQ(contents[0].size(), 11u);
  std::string failures;  // in the order of the pictures
  for (const char* name : {"p3.bmp", "p8.bmp", "p13.bmp"})
    failures +=
        name + ": Tthis type of file is not supported.\n"s + name + ": No such file or directory\n";
  EXPECT_TRUE(runs[0].err.starts_with(failures)) << runs[0].err;
  for (std::size_t run = 1; run < runs.size(); ++run) {
    EXPECT_EQ(runs[run].code, kCliFailed);
    EXPECT_EQ(runs[run].err, runs[0].err);
    EXPECT_EQ(contents[run], contents[0]);
  }
}

TEST(CliBatch, ProgressOnlyOnATerminal) {
  TempWorkingDir folder;
  CliPictures pictures;
  pictures.add("a.bmp", chart());
  pictures.add("b.bmp", chart());
  // Four divisions: five points a picture.
  const Arguments arguments = {"digitize",   "a.bmp", "b.bmp",        "--type", "line",
                               "--division", "4",     "--output-dir", "."};
  const CliRun quiet = pictures.run(arguments);
  EXPECT_EQ(quiet.code, kCliOk);
  EXPECT_TRUE(quiet.err.starts_with("plotvane-cli: 2 pictures, ")) << quiet.err;

  const CliRun shown = pictures.run(with(arguments, {"--jobs", "1"}), true);
  EXPECT_NE(shown.err.find("\r\x1b[K2 of 2 pictures done, b.bmp"), std::string::npos) << shown.err;
  // The line is cleared before the summary.
  EXPECT_TRUE(shown.err.ends_with("\r\x1b[Kplotvane-cli: 2 pictures, 10 points, 0 failed\n"))
      << shown.err;
}

TEST(CliBatch, FractionalRectangleIsThePictureShareUnrounded) {
  CliPictures pictures;
  pictures.add("chart.bmp", chart(125, 80));
  const struct {
    const char* fraction;
    const char* pixels;
  } cases[] = {
      {.fraction = "0.2,0.25,0.8,0.75", .pixels = "25,20,100,60"},
      {.fraction = "0.1,0.1,0.7,0.9", .pixels = "12.5,8,87.5,72"},
  };
  for (const auto& c : cases) {
    const Arguments base = {"digitize", "chart.bmp", "--type", "line", "--division", "9"};
    const CliRun fraction = pictures.run(with(base, {"--rect-fraction", c.fraction}));
    const CliRun pixels = pictures.run(with(base, {"--rect", c.pixels}));
    ASSERT_EQ(fraction.code, kCliOk) << fraction.err;
    EXPECT_EQ(fraction.out, pixels.out) << c.fraction;
  }
}

TEST(CliBatch, UsageErrorsNameTheOptionAndItsForm) {
  TempWorkingDir folder;
  CliPictures pictures;
  pictures.add("a.bmp", chart());  // 120 x 80
  // clang-format off
  const struct { Arguments arguments; const char* named; } cases[] = {
      {.arguments = {}, .named = "missing command"},
      {.arguments = {"digitize", "a.bmp", "--type", "bars"}, .named = "'bars'"},
      {.arguments = {"digitize", "a.bmp", "--type", "line", "--division", "5", "--pitch", "0.1"},
       .named = "--division and --pitch"},
      {.arguments = {"digitize", "a.bmp", "--type", "line", "--colour"}, .named = "'--colour'"},
      {.arguments = {"digitize", "a.bmp", "--type", "line", "--rect", "50,0,10,80"},
       .named = "reversed"},
      {.arguments = {"digitize", "a.bmp", "b.bmp", "--type", "line"}, .named = "--output-dir DIR"},
      {.arguments = {"digitize", "x/a.bmp", "y/a.png", "--type", "line", "--output-dir", "d"},
       .named = "'x/a.bmp' and 'y/a.png' would both write a.csv"},
      {.arguments = {"digitize", "d/a.csv", "b.png", "--type", "line", "--output-dir", "d"},
       .named = "would replace the picture 'd/a.csv'"},
      {.arguments = {"digitize", "a.bmp", "--type", "line", "--rect-fraction", "0,0,1.5,1"},
       .named = "--rect-fraction: '1.5' is not from 0 to 1 (expected --rect-fraction L,T,R,B)"},
      {.arguments = {"digitize", "a.bmp", "--type", "line", "--rect-fraction", "0.6,0,0.5,1"},
       .named = "--rect-fraction: L is right of R"},
      {.arguments = {"digitize", "a.bmp", "--type", "line", "--jobs", "0"},
       .named = "--jobs: '0' is not a whole number from 1 to 256 (expected --jobs N)"},
      {.arguments = {"prepare", "a.bmp", "--type", "line", "--save-picture", "s.bmp"},
       .named = "--type: an option of digitize, not of prepare"},
      {.arguments = {"prepare", "a.bmp", "--rotate", "1e39", "--save-picture", "s.bmp"},
       .named = "--rotate: '1E+39' is out of range"},
      {.arguments = {"prepare", "a.bmp", "--mask", "1,2,3,4", "--save-picture", "s.bmp"},
       .named = "--mask: needs 5 values separated by commas, got '1,2,3,4' "
                "(expected --mask R,G,B,TOL,keep|remove)"},
      {.arguments = {"prepare", "a.bmp", "--save-picture"},
       .named = "--save-picture: missing value (expected --save-picture FILE.bmp)"}};
  // clang-format on
  for (const auto& c : cases) {
    const CliRun run = pictures.run(c.arguments);
    EXPECT_EQ(run.code, kCliUsage) << c.named;
    const std::string firstLine = run.err.substr(0, run.err.find('\n'));
    EXPECT_TRUE(firstLine.starts_with("plotvane-cli: ")) << firstLine;
    EXPECT_NE(firstLine.find(c.named), std::string::npos) << firstLine;
    EXPECT_EQ(run.out, "");
  }
  EXPECT_TRUE(filesIn(".").empty());
}

TEST(CliBatch, AnOutputFolderThatCannotBeMadeFailsTheBatch) {
  TempWorkingDir folder;
  testing::writeAll("taken", "a file");
  CliPictures pictures;
  pictures.add("a.bmp", chart());
  const CliRun run =
      pictures.run({"digitize", "a.bmp", "--type", "line", "--output-dir", "taken/out"});
  EXPECT_EQ(run.code, kCliFailed);
  EXPECT_EQ(run.err, "plotvane-cli: taken/out: Not a directory\n");
}

}  // namespace
}  // namespace plotvane
