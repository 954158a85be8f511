#include "filters/filter_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>

#include "filters/brightness_contrast.h"
#include "filters/colour_mask.h"
#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::PictureForm;

TEST(FilterPreview, PanIsHeldOnThePictureOrCentredWhenItFits) {
  struct Case {
    const char* name;
    float pan;
    int picture;
    float zoom;
    float held;  // in a pane 320 pixels wide
  };
  const Case cases[] = {
      {.name = "inside", .pan = 300, .picture = 1000, .zoom = 1, .held = 300},
      {.name = "past the start", .pan = -50, .picture = 1000, .zoom = 1, .held = 0},
      {.name = "past the end", .pan = 900, .picture = 1000, .zoom = 1, .held = 680},
      {.name = "past the end at 2", .pan = 900, .picture = 1000, .zoom = 2, .held = 840},
      {.name = "past the end at 1/2", .pan = 900, .picture = 1000, .zoom = 0.5f, .held = 360},
      {.name = "fits exactly", .pan = 37, .picture = 320, .zoom = 1, .held = 0},
      {.name = "narrower", .pan = 0, .picture = 200, .zoom = 1, .held = -60},
      {.name = "narrower at 1/4", .pan = 500, .picture = 1000, .zoom = 0.25f, .held = -140},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(clampedPan(c.pan, c.picture, 320, c.zoom), c.held);
  }
}

TEST(FilterPreview, PaneColourIsReadOnlyStrictlyInside) {
  struct Case {
    const char* name;
    float x, y;
    std::optional<std::uint32_t> colour;
  };
  PixelArray image(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) image.set(x, y, rgbValue(x, y, 7));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const Case cases[] = {
      {.name = "inside", .x = 1, .y = 2, .colour = rgbValue(1, 2, 7)},
      {.name = "rounded", .x = 2.6f, .y = 1.2f, .colour = rgbValue(3, 1, 7)},
      {.name = "half to even", .x = 2.5f, .y = 0.5f, .colour = rgbValue(2, 0, 7)},
      {.name = "first column", .x = 0, .y = 1, .colour = std::nullopt},
      {.name = "first row", .x = 1, .y = 0, .colour = std::nullopt},
      {.name = "right edge", .x = 4, .y = 1, .colour = std::nullopt},
      {.name = "bottom edge", .x = 1, .y = 3, .colour = std::nullopt},
      {.name = "rounds past the last column", .x = 3.6f, .y = 1, .colour = std::nullopt},
      {.name = "rounds past the last row", .x = 1, .y = 2.6f, .colour = std::nullopt},
      {.name = "not a number", .x = nan, .y = 1, .colour = std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(paneColourAt(image, c.x, c.y), c.colour);
  }
}

// Each dialog with a setting that changes the picture, and the pure pass that
// setting stands for.
struct DialogKind {
  const char* name;
  DialogId id;
  MenuId command;
  std::function<void(Form1&)> changeSetting;
  std::function<PixelArray(const PixelArray&)> expected;
  std::function<PixelArray(const PixelArray&)> atRest;  // the pass a fresh dialog stands for
};

void PrintTo(const DialogKind& kind, std::ostream* out) {
  *out << kind.name;
}

const DialogKind kDialogs[] = {
    {.name = "Contrast",
     .id = DialogId::Contrast,
     .command = MenuId::mnuFilterContrast,
     .changeSetting =
         [](Form1& form) {
           form.dialogAs<ContrastDialog>(DialogId::Contrast)->Slider1.value = 60;
           contrastSlider1Change(form);
         },
     .expected = [](const PixelArray& p) { return *ApplyBrightnessContrast(p, 60, 0); },
     .atRest = [](const PixelArray& p) { return p; }},
    {.name = "ColourMask",
     .id = DialogId::ColourMask,
     .command = MenuId::mnuFilterColormask,
     .changeSetting =
         [](Form1& form) {
           form.dialogAs<ColourMaskDialog>(DialogId::ColourMask)->Slider1.value = 20;
           colourMaskSlider1Change(form);
         },
     .expected = [](const PixelArray& p) { return *ApplyColourMask(p, {.tolerance = 20}); },
     .atRest = [](const PixelArray& p) { return *ApplyColourMask(p, {.tolerance = 50}); }},
};

class FilterDialogTest : public ::testing::TestWithParam<DialogKind> {
 protected:
  // Every pixel differs from its neighbours, so a wrong offset shows.
  void SetUp() override {
    PixelArray picture(1000, 700);
    for (int y = 0; y < 700; ++y)
      for (int x = 0; x < 1000; ++x)
        picture.set(x, y, rgbValue((x * 7 + y) & 255, (y * 5) & 255, (x + y * 3) & 255));
    ASSERT_TRUE(f.load("chart.bmp", std::move(picture)));
  }

  FilterDialog* open(float mainZoom) {
    f.app.zoom = mainZoom;
    menuClick(f.form, GetParam().command);
    return filterDialog(f.form, GetParam().id);
  }

  // The left pane shows the working picture from the rounded pan at the zoom.
  void expectLeftPaneShowsPicture(const FilterDialog& d, int dx, int dy) const {
    const PreviewState& p = d.preview;
    const int x = static_cast<int>(std::nearbyint(p.panX) + std::floor(dx / p.previewZoom));
    const int y = static_cast<int>(std::nearbyint(p.panY) + std::floor(dy / p.previewZoom));
    EXPECT_EQ(d.Picture1.image.at(dx, dy), f.state.Picture2.pixels().at(x, y));
  }

  PictureForm f;
};

TEST_P(FilterDialogTest, OpensAtTheMainZoomCentredAndZoomsWithinTheViewLimits) {
  FilterDialog* d = open(0.5f);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(f.ui.form.enabled);
  EXPECT_EQ(d->preview.previewZoom, 0.5f);
  EXPECT_EQ(d->preview.panX, (1000 - 640) * 0.5f);
  EXPECT_EQ(d->preview.panY, (700 - 640) * 0.5f);
  expectLeftPaneShowsPicture(*d, 200, 100);
  EXPECT_EQ(d->Picture2.image, d->Picture1.image);  // nothing filtered yet

  GetParam().changeSetting(f.form);
  for (int i = 0; i < 3; ++i) previewZoomClick(f.form, GetParam().id, true);
  EXPECT_EQ(d->preview.previewZoom, 4);
  EXPECT_EQ(d->preview.panX, (1000 - 80) * 0.5f);
  EXPECT_EQ(d->preview.panOriginY, (700 - 80) * 0.5f);
  expectLeftPaneShowsPicture(*d, 319, 319);
  EXPECT_EQ(d->Picture2.image, GetParam().expected(d->Picture1.image));

  for (int i = 0; i < 5; ++i) previewZoomClick(f.form, GetParam().id, true);
  EXPECT_EQ(d->preview.previewZoom, 64);
  for (int i = 0; i < 13; ++i) previewZoomClick(f.form, GetParam().id, false);
  EXPECT_EQ(d->preview.previewZoom, 1.0f / 64);
  expectLeftPaneShowsPicture(*d, 160, 160);
}

TEST_P(FilterDialogTest, DragPansBothPanesWithinThePictureAndTheReleaseFilters) {
  struct Drag {
    const char* name;
    float zoom;
    float toX, toY;  // from (100, 100), the preview centred
    float panX, panY;
  };
  const Drag drags[] = {
      {.name = "a little", .zoom = 1, .toX = 90, .toY = 120, .panX = 350, .panY = 170},
      {.name = "past the top left", .zoom = 1, .toX = 600, .toY = 600, .panX = 0, .panY = 0},
      {.name = "past the bottom right",
       .zoom = 2,
       .toX = -900,
       .toY = -900,
       .panX = 840,
       .panY = 540},
      {.name = "narrower than the pane",
       .zoom = 0.25f,
       .toX = 300,
       .toY = 200,
       .panX = -140,
       .panY = -290},
  };
  for (const Drag& drag : drags) {
    SCOPED_TRACE(drag.name);
    FilterDialog* d = open(drag.zoom);
    ASSERT_NE(d, nullptr);
    GetParam().changeSetting(f.form);
    const float originX = d->preview.panOriginX;
    previewMouseDown(f.form, GetParam().id, PreviewPaneId::Picture2,
                     {.button = PointerButton::Left, .x = 100, .y = 100});
    previewMouseMove(f.form, GetParam().id, PreviewPaneId::Picture2,
                     {.button = PointerButton::Left, .x = drag.toX, .y = drag.toY});
    EXPECT_EQ(d->preview.panX, drag.panX);
    EXPECT_EQ(d->preview.panY, drag.panY);
    EXPECT_EQ(d->preview.panOriginX, originX);
    expectLeftPaneShowsPicture(*d, 160, 160);
    EXPECT_EQ(d->Picture2.image, d->Picture1.image);  // unfiltered while dragging
    // A move without the left button does not pan.
    previewMouseMove(f.form, GetParam().id, PreviewPaneId::Picture1,
                     {.button = PointerButton::Right, .x = 0, .y = 0});
    EXPECT_EQ(d->preview.panX, drag.panX);
    previewMouseUp(f.form, GetParam().id, PreviewPaneId::Picture2,
                   {.button = PointerButton::Left, .x = drag.toX, .y = drag.toY});
    EXPECT_EQ(d->preview.panOriginX, drag.panX);
    EXPECT_EQ(d->preview.panOriginY, drag.panY);
    EXPECT_EQ(d->Picture2.image, GetParam().expected(d->Picture1.image));
    filterUnload(f.form, GetParam().id);
  }
}

TEST_P(FilterDialogTest, OkFiltersThePictureAndUndoBringsItBack) {
  const PixelArray original = f.state.Picture2.pixels();
  ASSERT_NE(open(1), nullptr);
  GetParam().changeSetting(f.form);
  std::vector<int> progress;
  f.platform.setYieldHook([&] {
    if (f.ui.ProgressBar1.visible) progress.push_back(f.ui.ProgressBar1.value);
  });
  filterOkClick(f.form, GetParam().id);
  EXPECT_EQ(f.state.Picture2.pixels(), GetParam().expected(original));
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), f.state.Picture2.pixels().at(0, 0));
  EXPECT_EQ(progress.size(), 100u);  // every tenth of 1000 columns
  EXPECT_EQ(progress.back(), 99);
  EXPECT_FALSE(f.ui.ProgressBar1.visible);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);

  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
  menuClick(f.form, MenuId::mnuEdetRedo);
  EXPECT_EQ(f.state.Picture2.pixels(), GetParam().expected(original));
}

TEST_P(FilterDialogTest, ACancelDuringOkLeavesThePictureAsItWas) {
  const PixelArray original = f.state.Picture2.pixels();
  const std::uint64_t version = f.state.Picture2.version();
  ASSERT_NE(open(1), nullptr);
  GetParam().changeSetting(f.form);
  int yields = 0;
  // During the pass a second OK and a zoom are ignored; Cancel (or the close
  // box) asks the pass to stop, and the dialog goes once it has.
  f.platform.setYieldHook([&] {
    if (++yields != 30) return;
    filterOkClick(f.form, GetParam().id);
    previewZoomClick(f.form, GetParam().id, true);
    filterUnload(f.form, GetParam().id);
    EXPECT_NE(f.form.dialog(GetParam().id), nullptr);
  });
  filterOkClick(f.form, GetParam().id);
  EXPECT_EQ(yields, 30);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
  EXPECT_EQ(f.state.Picture2.version(), version);
  EXPECT_TRUE(f.state.Picture2.editable());
  EXPECT_FALSE(f.ui.ProgressBar1.visible);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
  // The snapshot was pushed before the pass: an undo step equal to the picture.
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
}

TEST_P(FilterDialogTest, CancelChangesNothingAndEachOpeningStartsAfresh) {
  const std::uint64_t version = f.state.Picture2.version();
  ASSERT_NE(open(1), nullptr);
  GetParam().changeSetting(f.form);
  previewZoomClick(f.form, GetParam().id, true);
  filterUnload(f.form, GetParam().id);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
  EXPECT_EQ(f.state.Picture2.version(), version);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);

  FilterDialog* again = open(1);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->preview.previewZoom, 1);
  previewZoomClick(f.form, GetParam().id, false);
  EXPECT_EQ(again->Picture2.image, GetParam().atRest(again->Picture1.image));
  formUnload(f.form);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

TEST_P(FilterDialogTest, DoesNothingWithoutAPictureOrWhileARunHoldsIt) {
  PictureForm empty;
  menuClick(empty.form, GetParam().command);
  EXPECT_EQ(empty.form.dialog(GetParam().id), nullptr);
  const WorkingPicture::RunHold hold = f.state.Picture2.holdForRun();
  EXPECT_EQ(open(1), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, FilterDialogTest, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plotvane
