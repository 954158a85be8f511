#include "filters/colour_mask_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::PictureForm;

constexpr std::uint32_t kRed = 0xFF0000, kYellow = 0xFFFF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;

// At the start (black, tolerance 50, keep) the mask keeps red and blue and
// whitens yellow.
class ColourMaskDialogTest : public ::testing::Test {
 protected:
  // Left half red, right half yellow, a blue band along the top; at zoom 1
  // it fills each pane exactly.
  void SetUp() override {
    PixelArray picture(320, 320);
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 320; ++x) picture.set(x, y, y < 40 ? kBlue : x < 160 ? kRed : kYellow);
    ASSERT_TRUE(f.load("chart.bmp", std::move(picture)));
    f.app.zoom = 1;
    menuClick(f.form, MenuId::mnuFilterColormask);
    d = f.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
    ASSERT_NE(d, nullptr);
  }

  void pointer(bool release, PreviewPaneId pane, PointerButton button, float x, float y) {
    const PointerEvent event{.button = button, .x = x, .y = y};
    if (release)
      previewMouseUp(f.form, DialogId::ColourMask, pane, event);
    else
      previewMouseMove(f.form, DialogId::ColourMask, pane, event);
  }

  PictureForm f;
  ColourMaskDialog* d = nullptr;
};

TEST_F(ColourMaskDialogTest, TheRightButtonPicksFromThePaneReleasedOverWithinItsBounds) {
  struct Release {
    const char* name;
    PreviewPaneId pane;
    PointerButton button;
    float x, y;
    std::uint32_t picked;  // over green, which nothing here shows
  };
  using enum PreviewPaneId;
  const Release releases[] = {
      {.name = "red",
       .pane = Picture1,
       .button = PointerButton::Right,
       .x = 50,
       .y = 100,
       .picked = kRed},
      {.name = "masked yellow",
       .pane = Picture2,
       .button = PointerButton::Right,
       .x = 250,
       .y = 100,
       .picked = kWhite},
      {.name = "first column",
       .pane = Picture1,
       .button = PointerButton::Right,
       .x = 0,
       .y = 50,
       .picked = 0x00FF00},
      {.name = "first row",
       .pane = Picture1,
       .button = PointerButton::Right,
       .x = 50,
       .y = 0,
       .picked = 0x00FF00},
      {.name = "left button",
       .pane = Picture1,
       .button = PointerButton::Left,
       .x = 50,
       .y = 50,
       .picked = 0x00FF00},
  };
  for (const Release& r : releases) {
    SCOPED_TRACE(r.name);
    d->Label3.colour = 0x00FF00;
    pointer(true, r.pane, r.button, r.x, r.y);
    EXPECT_EQ(d->Label3.colour, r.picked);
    d->Label3.colour = 0;  // the right pane masked with black again
    pointer(true, Picture1, PointerButton::None, 5, 5);
  }
}

TEST_F(ColourMaskDialogTest, TheSwatchFollowsThePointerFromTheLeftPane) {
  pointer(false, PreviewPaneId::Picture2, PointerButton::None, 250, 100);
  EXPECT_EQ(d->Label4.colour, kYellow);  // the right pane shows white there
  pointer(false, PreviewPaneId::Picture1, PointerButton::None, 0, 10);
  EXPECT_EQ(d->Label4.colour, kYellow);  // the first column does not count
  pointer(false, PreviewPaneId::Picture1, PointerButton::Left, 100, 10);
  EXPECT_EQ(d->Label4.colour, kBlue);
}

TEST_F(ColourMaskDialogTest, TheChooserStartsFromItsLastColourAndLeavesThePreview) {
  const std::uint64_t version = d->Picture2.version;
  f.platform.queueColour(kYellow);
  f.platform.queueColour(std::nullopt);
  colourMaskLabel3Click(f.form);
  EXPECT_EQ(d->Label3.colour, kYellow);
  EXPECT_EQ(d->Picture2.version, version);
  d->Label3.colour = kBlue;
  colourMaskLabel3Click(f.form);  // cancelled
  EXPECT_EQ(d->Label3.colour, kBlue);
  EXPECT_TRUE(f.platform.messages().empty());

  // The chooser remembers across openings; the dialog starts black again.
  filterUnload(f.form, DialogId::ColourMask);
  menuClick(f.form, MenuId::mnuFilterColormask);
  d = f.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->Label3.colour, 0u);
  colourMaskLabel3Click(f.form);
  EXPECT_EQ(f.platform.colourChoosers(), (std::vector<std::uint32_t>{0, kYellow, kYellow}));
}

TEST_F(ColourMaskDialogTest, SliderAndModesRedrawTheMaskedPaneAndEnterRunsOk) {
  struct Step {
    const char* name;
    std::function<void()> act;
    const char* text;
    std::uint32_t red, yellow;  // what the right pane shows of each
  };
  const auto tolerance = [this](int value) {
    d->Slider1.value = value;
    colourMaskSlider1Change(f.form);
  };
  const Step steps[] = {
      {.name = "tolerance 40",
       .act = [&] { tolerance(40); },
       .text = "40",
       .red = kWhite,
       .yellow = kWhite},
      {.name = "remove",
       .act = [&] { colourMaskOptionClick(f.form, false); },
       .text = "40",
       .red = kRed,
       .yellow = kYellow},
      {.name = "tolerance 255",
       .act = [&] { tolerance(255); },
       .text = "255",
       .red = kWhite,
       .yellow = kWhite},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.act();
    EXPECT_EQ(d->txtColorRange.text, step.text);
    EXPECT_EQ(d->Picture2.image.at(50, 100), step.red);
    EXPECT_EQ(d->Picture2.image.at(250, 100), step.yellow);
  }
  EXPECT_EQ(d->optAnd.value, 0);
  colourMaskKeyDown(f.form, 32);
  ASSERT_NE(f.form.dialog(DialogId::ColourMask), nullptr);
  colourMaskKeyDown(f.form, 13);
  EXPECT_EQ(f.form.dialog(DialogId::ColourMask), nullptr);
  EXPECT_EQ(f.state.Picture2.pixels().at(50, 100), kWhite);
  EXPECT_EQ(f.state.Picture2.pixels().at(250, 100), kWhite);
}

}  // namespace
}  // namespace plotvane
