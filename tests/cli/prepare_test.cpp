// The command line's preparation steps against the routines the window's
// picture commands run, through `prepare` (the saved bitmap) and through
// `digitize` (the points found on the prepared picture).
#include <gtest/gtest.h>

#include <functional>

#include "cli/cli_runs.h"
#include "filters/brightness_contrast.h"
#include "filters/colour_mask.h"
#include "picture/bitmap_file.h"
#include "picture/rotation.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"
#include "view/picture_tools.h"

namespace plotvane {
namespace {

using testing::CliRun;
using testing::readAll;
using testing::runWith;
using testing::TempWorkingDir;
using Arguments = std::vector<std::string>;

// Dark strokes of several hues over a light gradient, so that every step
// changes something.
PixelArray colourChart() {
  PixelArray picture(41, 29);
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      picture.set(x, y, rgbValue(200 + x, 180 + y * 2, 230 - x - y));
  for (int x = 2; x < 39; ++x) {
    picture.set(x, 5 + x / 3, rgbValue(200, 30, 40));
    picture.set(x, 22 - x / 4, rgbValue(20, 40, 160));
    picture.set(x, 14, rgbValue(x, x, x));
  }
  return picture;
}

PixelArray rotated(const PixelArray& picture, double entered, bool clockwise) {
  return *RotatePicture(picture, normaliseAngle(rotationAngle(0, entered, clockwise)));
}

// One dab of the window's eraser at zoom 1 on an unscrolled view.
PixelArray erased(const PixelArray& picture, float x, float y, const std::string& size) {
  testing::PictureForm window;
  EXPECT_TRUE(window.load("erase.bmp", picture));
  window.app.zoom = 1;
  window.ui.HScroll1.value = window.ui.VScroll1.value = 0;
  window.ui.txtErs.setText(size);
  EraserDab(window.form, x, y);
  return window.state.Picture2.pixels();
}

PixelArray contrasted(const PixelArray& picture, int contrast, int brightness) {
  return *ApplyBrightnessContrast(picture, contrast, brightness);
}

PixelArray masked(const PixelArray& picture, ColourMaskParams params) {
  return *ApplyColourMask(picture, params);
}

struct StepCase {
  const char* name;
  Arguments steps;
  std::function<PixelArray(const PixelArray&)> window;
};

// What `prepare` saves and what `digitize` finds after the steps match the
// window's routines on the same picture.
void expectWindowPixels(const StepCase& c) {
  SCOPED_TRACE(c.name);
  TempWorkingDir folder;
  const PixelArray source = colourChart();
  const PixelArray expected = c.window(source);

  HeadlessPlatform platform;
  platform.setPicture("chart.bmp", source);
  platform.setPicture("expected.bmp", expected);
  Arguments prepare = {"prepare", "chart.bmp"};
  prepare.insert(prepare.end(), c.steps.begin(), c.steps.end());
  prepare.insert(prepare.end(), {"--save-picture", "prepared.bmp"});
  const CliRun prepared = runWith(platform, prepare);
  ASSERT_EQ(prepared.code, kCliOk) << prepared.err;
  EXPECT_EQ(prepared.out + prepared.err, "");
  EXPECT_EQ(readAll("prepared.bmp"), bitmapFileBytes(expected));

  Arguments digitize = {"digitize", "chart.bmp", "--type", "points", "--x", "0,100"};
  digitize.insert(digitize.end(), c.steps.begin(), c.steps.end());
  const CliRun found = runWith(platform, digitize);
  const CliRun wanted =
      runWith(platform, {"digitize", "expected.bmp", "--type", "points", "--x", "0,100"});
  ASSERT_EQ(found.code, kCliOk) << found.err;
  EXPECT_EQ(found.out, wanted.out);
}

// Each step alone, and steps in the order given: a step between contrast and
// brightness, or a second contrast, starts a new pass.
TEST(CliPrepare, EachStepAndTheirOrderGiveTheWindowsPixels) {
  const ColourMaskParams mask{
      .red = 200, .green = 30, .blue = 40, .tolerance = 60, .keepMode = false};
  const StepCase cases[] = {
      {.name = "CW 12.5",
       .steps = {"--rotate", "-12.5"},
       .window = [](const PixelArray& p) { return rotated(p, 12.5, true); }},
      {.name = "CCW 0 still whitens the last row and column",
       .steps = {"--rotate", "0"},
       .window = [](const PixelArray& p) { return rotated(p, 0, false); }},
      {.name = "keep a colour",
       .steps = {"--mask", "200,30,40,20,keep"},
       .window =
           [](const PixelArray& p) {
             return masked(
                 p, {.red = 200, .green = 30, .blue = 40, .tolerance = 20, .keepMode = true});
           }},
      {.name = "eraser between pixels, over the edge",
       .steps = {"--erase", "0.5,27.25,6.5"},
       .window = [](const PixelArray& p) { return erased(p, 0.5f, 27.25f, "6.5"); }},
      {.name = "turn, then erase",
       .steps = {"--rotate", "90", "--erase", "5,5,4"},
       .window = [](const PixelArray& p) { return erased(rotated(p, 90, false), 5, 5, "4"); }},
      {.name = "a step between contrast and brightness makes two passes",
       .steps = {"--contrast", "60", "--mask", "200,30,40,60,remove", "--brightness", "20"},
       .window =
           [mask](const PixelArray& p) {
             return contrasted(masked(contrasted(p, 60, 0), mask), 0, 20);
           }},
      {.name = "a second contrast starts a new pass",
       .steps = {"--brightness", "-10", "--contrast", "30", "--contrast", "-50"},
       .window = [](const PixelArray& p) { return contrasted(contrasted(p, 30, -10), -50, 0); }},
  };
  for (const StepCase& c : cases) expectWindowPixels(c);
}

TEST(CliPrepare, AFailedSaveKeepsTheOldFile) {
  TempWorkingDir folder;
  testing::writeAll("kept.bmp", "old bytes");
  HeadlessPlatform platform;
  platform.setPicture("chart.bmp", colourChart());
  platform.injectFailure(HeadlessPlatform::FileOperation::Rename, "kept.bmp", EIO);
  const CliRun run =
      runWith(platform, {"prepare", "chart.bmp", "--rotate", "5", "--save-picture", "kept.bmp"});
  EXPECT_EQ(run.code, kCliFailed);
  EXPECT_EQ(run.err, "kept.bmp: Input/output error\n");
  EXPECT_EQ(readAll("kept.bmp"), "old bytes");

  // A picture that cannot be read writes nothing.
  const CliRun unread =
      runWith(platform, {"prepare", "missing.png", "--save-picture", "missing.bmp"});
  EXPECT_EQ(unread.code, kCliFailed);
  EXPECT_FALSE(std::filesystem::exists("missing.bmp"));
}

}  // namespace
}  // namespace plotvane
