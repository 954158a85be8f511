#include "filters/colour_mask_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "filters/colour_mask.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::PictureForm;

constexpr std::uint32_t kRed = 0xFF0000, kYellow = 0xFFFF00, kBlue = 0x0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFF;

// Left half red, right half yellow, a blue band along the top.
PixelArray threeColours(int width, int height) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.set(x, y, y < 40 ? kBlue : x < width / 2 ? kRed : kYellow);
  return picture;
}

class ColourMaskDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(f.load("chart.bmp", threeColours(320, 320)));
    f.app.zoom = 1;  // the picture fills each pane exactly
    menuClick(f.form, MenuId::mnuFilterColormask);
    d = f.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
    ASSERT_NE(d, nullptr);
  }

  void release(PreviewPaneId pane, PointerButton button, float x, float y) {
    previewMouseUp(f.form, DialogId::ColourMask, pane, {.button = button, .x = x, .y = y});
  }

  PictureForm f;
  ColourMaskDialog* d = nullptr;
};

TEST_F(ColourMaskDialogTest, StartsBlackAtToleranceFiftyKeepingTheColour) {
  EXPECT_EQ(d->Label3.colour, 0u);
  EXPECT_EQ(d->Label4.colour, kWhite);
  EXPECT_EQ(d->Slider1.value, 50);
  EXPECT_EQ(d->Slider1.minimum, 0);
  EXPECT_EQ(d->Slider1.maximum, 255);
  EXPECT_EQ(d->Slider1.largeChange, 5);
  EXPECT_EQ(d->Slider1.tickFrequency, 10);
  EXPECT_EQ(d->txtColorRange.text, "50");
  EXPECT_EQ(d->optAnd.value, 1);
  EXPECT_EQ(d->optNot.value, 0);
}

TEST_F(ColourMaskDialogTest, TheRightButtonPicksFromThePaneReleasedOverWithinItsBounds) {
  struct Release {
    const char* name;
    PreviewPaneId pane;
    PointerButton button;
    float x, y;
    std::uint32_t picked;
  };
  // Black at tolerance 50 keeps red and blue but whitens yellow: the right
  // pane shows white where the left shows yellow.
  const Release releases[] = {
      {.name = "left pane, red",
       .pane = PreviewPaneId::Picture1,
       .button = PointerButton::Right,
       .x = 50,
       .y = 100,
       .picked = kRed},
      {.name = "right pane, masked yellow",
       .pane = PreviewPaneId::Picture2,
       .button = PointerButton::Right,
       .x = 250,
       .y = 100,
       .picked = kWhite},
      {.name = "left pane, yellow",
       .pane = PreviewPaneId::Picture1,
       .button = PointerButton::Right,
       .x = 250,
       .y = 100,
       .picked = kYellow},
      {.name = "first column",
       .pane = PreviewPaneId::Picture1,
       .button = PointerButton::Right,
       .x = 0,
       .y = 10,
       .picked = kYellow},
      {.name = "first row",
       .pane = PreviewPaneId::Picture1,
       .button = PointerButton::Right,
       .x = 50,
       .y = 0,
       .picked = kYellow},
      {.name = "past the pane",
       .pane = PreviewPaneId::Picture1,
       .button = PointerButton::Right,
       .x = 320,
       .y = 10,
       .picked = kYellow},
      {.name = "left button",
       .pane = PreviewPaneId::Picture1,
       .button = PointerButton::Left,
       .x = 10,
       .y = 10,
       .picked = kYellow},
  };
  for (const Release& r : releases) {
    SCOPED_TRACE(r.name);
    // The right pane as the last release left it: masked with the colour
    // picked before this one.
    d->Label3.colour = 0;
    release(PreviewPaneId::Picture1, PointerButton::Left, 5, 5);
    d->Label3.colour = kYellow;
    release(r.pane, r.button, r.x, r.y);
    EXPECT_EQ(d->Label3.colour, r.picked);
  }
}

TEST_F(ColourMaskDialogTest, TheSwatchFollowsThePointerFromTheLeftPane) {
  previewMouseMove(f.form, DialogId::ColourMask, PreviewPaneId::Picture2,
                   {.button = PointerButton::None, .x = 250, .y = 100});
  EXPECT_EQ(d->Label4.colour, kYellow);  // the right pane shows white there
  previewMouseMove(f.form, DialogId::ColourMask, PreviewPaneId::Picture1,
                   {.button = PointerButton::None, .x = 0, .y = 100});
  EXPECT_EQ(d->Label4.colour, kYellow);  // the first column does not count
  previewMouseMove(f.form, DialogId::ColourMask, PreviewPaneId::Picture1,
                   {.button = PointerButton::None, .x = 100, .y = 10});
  EXPECT_EQ(d->Label4.colour, kBlue);
}

TEST_F(ColourMaskDialogTest, TheChooserStartsFromItsLastColourAndDoesNotRedrawThePreview) {
  const PixelArray shown = d->Picture2.image;
  const std::uint64_t version = d->Picture2.version;
  f.platform.queueColour(kYellow);
  f.platform.queueColour(std::nullopt);
  colourMaskLabel3Click(f.form);
  EXPECT_EQ(d->Label3.colour, kYellow);
  EXPECT_EQ(d->Picture2.version, version);
  EXPECT_EQ(d->Picture2.image, shown);

  d->Label3.colour = kBlue;  // picked on a pane meanwhile
  colourMaskLabel3Click(f.form);
  EXPECT_EQ(d->Label3.colour, kBlue);  // cancelled
  EXPECT_TRUE(f.platform.messages().empty());

  // The chooser remembers across openings; the dialog starts black again.
  filterUnload(f.form, DialogId::ColourMask);
  menuClick(f.form, MenuId::mnuFilterColormask);
  d = f.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Label3.colour, 0u);
  colourMaskLabel3Click(f.form);
  const std::vector<std::uint32_t> initial{0, kYellow, kYellow};
  EXPECT_EQ(f.platform.colourChoosers(), initial);
}

TEST_F(ColourMaskDialogTest, SliderAndModesRedrawTheMaskedPane) {
  struct Step {
    const char* name;
    std::function<void()> act;
    std::string text;
    std::uint32_t red, yellow;  // what the right pane shows of each half
  };
  const Step steps[] = {
      {.name = "tolerance 40",
       .act =
           [&] {
             d->Slider1.value = 40;
             colourMaskSlider1Change(f.form);
           },
       .text = "40",
       .red = kWhite,
       .yellow = kWhite},
      {.name = "remove",
       .act = [&] { colourMaskOptionClick(f.form, false); },
       .text = "40",
       .red = kRed,
       .yellow = kYellow},
      {.name = "tolerance 255",
       .act =
           [&] {
             d->Slider1.value = 255;
             colourMaskSlider1Change(f.form);
           },
       .text = "255",
       .red = kWhite,
       .yellow = kWhite},
      {.name = "keep",
       .act = [&] { colourMaskOptionClick(f.form, true); },
       .text = "255",
       .red = kRed,
       .yellow = kYellow},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(d->txtColorRange.text, step.text);
    EXPECT_EQ(d->Picture2.image.at(50, 100), step.red);
    EXPECT_EQ(d->Picture2.image.at(250, 100), step.yellow);
    EXPECT_EQ(d->Picture1.image.at(50, 100), kRed);
  }
  EXPECT_EQ(d->optAnd.value, 1);
  EXPECT_EQ(d->optNot.value, 0);
}

TEST_F(ColourMaskDialogTest, EnterRunsOk) {
  d->Label3.colour = kRed;
  colourMaskKeyDown(f.form, 32);
  ASSERT_NE(f.form.dialog(DialogId::ColourMask), nullptr);
  colourMaskKeyDown(f.form, 13);
  EXPECT_EQ(f.form.dialog(DialogId::ColourMask), nullptr);
  EXPECT_EQ(f.state.Picture2.pixels().at(50, 100), kRed);
  EXPECT_EQ(f.state.Picture2.pixels().at(250, 100), kWhite);
  EXPECT_EQ(f.state.Picture2.pixels().at(10, 10), kWhite);
}

}  // namespace
}  // namespace plotvane
