#include "filters/filter_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

#include "filters/brightness_contrast.h"
#include "filters/colour_mask.h"
#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "support/picture_form.h"
#include "view/undo_commands.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;

TEST(FilterPreview, PanIsHeldOnThePictureOrCentredWhenItFits) {
  struct Case {
    const char* name;
    float pan;
    int picture;
    int pane;
    float zoom;
    float held;
  };
  const Case cases[] = {
      {.name = "inside", .pan = 300, .picture = 1000, .pane = 320, .zoom = 1, .held = 300},
      {.name = "past the start", .pan = -50, .picture = 1000, .pane = 320, .zoom = 1, .held = 0},
      {.name = "past the end", .pan = 900, .picture = 1000, .pane = 320, .zoom = 1, .held = 680},
      {.name = "past the end at 2",
       .pan = 900,
       .picture = 1000,
       .pane = 320,
       .zoom = 2,
       .held = 840},
      {.name = "past the end at 1/2",
       .pan = 900,
       .picture = 1000,
       .pane = 320,
       .zoom = 0.5f,
       .held = 360},
      {.name = "fits exactly", .pan = 37, .picture = 320, .pane = 320, .zoom = 1, .held = 0},
      {.name = "narrower", .pan = 0, .picture = 200, .pane = 320, .zoom = 1, .held = -60},
      {.name = "narrower at 1/4",
       .pan = 500,
       .picture = 1000,
       .pane = 320,
       .zoom = 0.25f,
       .held = -140},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(clampedPan(c.pan, c.picture, c.pane, c.zoom), c.held);
  }
}

// Strictly inside: the first row and column do not count, nor a position
// that rounds past the last one.
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
      {.name = "negative", .x = -1, .y = 1, .colour = std::nullopt},
      {.name = "not a number", .x = nan, .y = 1, .colour = std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(paneColourAt(image, c.x, c.y), c.colour);
  }
}

// The two dialogs, each with a setting that changes the picture and the pure
// pass it stands for.
struct DialogKind {
  const char* name;
  DialogId id;
  MenuId command;
  std::function<void(Form1&)> changeSetting;
  std::function<PixelArray(const PixelArray&)> expected;
};

const DialogKind kDialogs[] = {
    {.name = "brightness and contrast",
     .id = DialogId::Contrast,
     .command = MenuId::mnuFilterContrast,
     .changeSetting =
         [](Form1& form) {
           form.dialogAs<ContrastDialog>(DialogId::Contrast)->Slider1.value = 60;
           contrastSlider1Change(form);
         },
     .expected = [](const PixelArray& p) { return *ApplyBrightnessContrast(p, 60, 0); }},
    {.name = "colour mask",
     .id = DialogId::ColourMask,
     .command = MenuId::mnuFilterColormask,
     .changeSetting =
         [](Form1& form) {
           form.dialogAs<ColourMaskDialog>(DialogId::ColourMask)->Slider1.value = 20;
           colourMaskSlider1Change(form);
         },
     .expected =
         [](const PixelArray& p) {
           return *ApplyColourMask(p, {.red = 0, .green = 0, .blue = 0, .tolerance = 20});
         }},
};

// A chart-like picture whose every pixel differs from its neighbours, so a
// wrong offset shows.
PixelArray testPicture(int width, int height) {
  PixelArray picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.set(x, y, rgbValue((x * 7 + y) & 255, (y * 5) & 255, (x + y * 3) & 255));
  return picture;
}

void PrintTo(const DialogKind& kind, std::ostream* out) {
  *out << kind.name;
}

class FilterDialogTest : public ::testing::TestWithParam<DialogKind> {
 protected:
  void SetUp() override { ASSERT_TRUE(f.load("chart.bmp", testPicture(1000, 700))); }

  FilterDialog* open() {
    menuClick(f.form, GetParam().command);
    return filterDialog(f.form, GetParam().id);
  }

  // What the left pane must show: the working picture from the pan's
  // rounded position at the preview's zoom.
  std::uint32_t expectedLeft(const FilterDialog& d, int dx, int dy) const {
    const PreviewState& p = d.preview;
    const int x = static_cast<int>(std::nearbyint(p.panX)) +
                  static_cast<int>(std::floor(dx / double(p.previewZoom)));
    const int y = static_cast<int>(std::nearbyint(p.panY)) +
                  static_cast<int>(std::floor(dy / double(p.previewZoom)));
    return f.state.Picture2.pixels().at(x, y);
  }

  PictureForm f;
};

TEST_P(FilterDialogTest, OpensAtTheMainZoomCentredWithTheMainWindowDisabled) {
  f.app.zoom = 0.5f;  // as the main window's zoom commands leave it
  FilterDialog* d = open();
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(f.ui.form.enabled);
  EXPECT_EQ(d->preview.previewZoom, 0.5f);
  EXPECT_EQ(d->preview.panX, (1000 - 320 / 0.5f) * 0.5f);
  EXPECT_EQ(d->preview.panY, (700 - 320 / 0.5f) * 0.5f);
  EXPECT_EQ(d->preview.panOriginX, d->preview.panX);
  EXPECT_EQ(d->Picture1.image.at(200, 100), expectedLeft(*d, 200, 100));
  // Nothing is filtered yet.
  EXPECT_EQ(d->Picture2.image, d->Picture1.image);
}

TEST_P(FilterDialogTest, DoesNothingWithoutAPictureOrWhileARunHoldsIt) {
  PictureForm empty;
  menuClick(empty.form, GetParam().command);
  EXPECT_EQ(empty.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(empty.ui.form.enabled);

  const WorkingPicture::RunHold hold = f.state.Picture2.holdForRun();
  EXPECT_EQ(open(), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

TEST_P(FilterDialogTest, ZoomDoublesOrHalvesWithinTheViewLimitsAndCentres) {
  f.app.zoom = 1;
  FilterDialog* d = open();
  ASSERT_NE(d, nullptr);
  GetParam().changeSetting(f.form);
  previewZoomClick(f.form, GetParam().id, true);
  previewZoomClick(f.form, GetParam().id, true);
  EXPECT_EQ(d->preview.previewZoom, 4);
  EXPECT_EQ(d->preview.panX, 1000 / 2.0f - 320 / 4.0f / 2);
  EXPECT_EQ(d->preview.panY, 700 / 2.0f - 320 / 4.0f / 2);
  EXPECT_EQ(d->Picture1.image.at(319, 319), expectedLeft(*d, 319, 319));
  EXPECT_EQ(d->Picture2.image, GetParam().expected(d->Picture1.image));

  for (int i = 0; i < 10; ++i) previewZoomClick(f.form, GetParam().id, true);
  EXPECT_EQ(d->preview.previewZoom, 64);
  for (int i = 0; i < 20; ++i) previewZoomClick(f.form, GetParam().id, false);
  EXPECT_EQ(d->preview.previewZoom, 1.0f / 64);
  EXPECT_EQ(d->Picture1.image.at(160, 160), expectedLeft(*d, 160, 160));
}

TEST_P(FilterDialogTest, DragPansBothPanesWithinThePictureAndTheReleaseFilters) {
  struct Drag {
    const char* name;
    float toX, toY;
    float panX, panY;
  };
  f.app.zoom = 1;
  FilterDialog* d = open();
  ASSERT_NE(d, nullptr);
  GetParam().changeSetting(f.form);
  const float startX = d->preview.panX, startY = d->preview.panY;  // 340, 190
  const Drag drags[] = {
      {.name = "a little", .toX = 90, .toY = 120, .panX = startX + 10, .panY = startY - 20},
      {.name = "past the left and top", .toX = 600, .toY = 600, .panX = 0, .panY = 0},
      {.name = "past the right and bottom", .toX = -900, .toY = -900, .panX = 680, .panY = 380},
  };
  for (const Drag& drag : drags) {
    SCOPED_TRACE(drag.name);
    const float originX = d->preview.panOriginX, originY = d->preview.panOriginY;
    previewMouseDown(f.form, GetParam().id, PreviewPaneId::Picture2,
                     {.button = PointerButton::Left, .x = 100, .y = 100});
    previewMouseMove(f.form, GetParam().id, PreviewPaneId::Picture2,
                     {.button = PointerButton::Left, .x = drag.toX, .y = drag.toY});
    EXPECT_EQ(d->preview.panX, drag.panX);
    EXPECT_EQ(d->preview.panY, drag.panY);
    EXPECT_EQ(d->preview.panOriginX, originX);
    EXPECT_EQ(d->preview.panOriginY, originY);
    EXPECT_EQ(d->Picture1.image.at(5, 300), expectedLeft(*d, 5, 300));
    EXPECT_EQ(d->Picture2.image, d->Picture1.image);  // unfiltered while dragging
    previewMouseUp(f.form, GetParam().id, PreviewPaneId::Picture2,
                   {.button = PointerButton::Left, .x = drag.toX, .y = drag.toY});
    EXPECT_EQ(d->preview.panOriginX, drag.panX);
    EXPECT_EQ(d->preview.panOriginY, drag.panY);
    EXPECT_EQ(d->Picture2.image, GetParam().expected(d->Picture1.image));
    // Reset for the next drag: the pan only moves from the last release.
    d->preview.panX = d->preview.panOriginX = startX;
    d->preview.panY = d->preview.panOriginY = startY;
  }
}

TEST_P(FilterDialogTest, APictureNarrowerThanThePaneStaysCentredWhateverTheDrag) {
  f.app.zoom = 0.25f;  // 250 x 175 in a 320 x 320 pane
  FilterDialog* d = open();
  ASSERT_NE(d, nullptr);
  previewMouseDown(f.form, GetParam().id, PreviewPaneId::Picture1,
                   {.button = PointerButton::Left, .x = 10, .y = 10});
  previewMouseMove(f.form, GetParam().id, PreviewPaneId::Picture1,
                   {.button = PointerButton::Left, .x = 300, .y = 200});
  EXPECT_EQ(d->preview.panX, (1000 - 320 * 4) * 0.5f);
  EXPECT_EQ(d->preview.panY, (700 - 320 * 4) * 0.5f);
  // Moves without the left button do not pan.
  d->preview.panX = 5;
  previewMouseMove(f.form, GetParam().id, PreviewPaneId::Picture1,
                   {.button = PointerButton::Right, .x = 0, .y = 0});
  EXPECT_EQ(d->preview.panX, 5);
}

TEST_P(FilterDialogTest, OkFiltersThePictureAndUndoBringsItBack) {
  const PixelArray original = f.state.Picture2.pixels();
  ASSERT_NE(open(), nullptr);
  GetParam().changeSetting(f.form);
  std::vector<int> progress;
  f.platform.setYieldHook([&] {
    progress.push_back(f.ui.ProgressBar1.value);
    EXPECT_TRUE(f.ui.ProgressBar1.visible);
  });
  filterOkClick(f.form, GetParam().id);
  EXPECT_EQ(f.state.Picture2.pixels(), GetParam().expected(original));
  EXPECT_EQ(progress.size(), 100u);  // every tenth of 1000 columns
  EXPECT_EQ(progress.back(), 99);
  EXPECT_FALSE(f.ui.ProgressBar1.visible);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
  // The view shows the filtered picture.
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), f.state.Picture2.pixels().at(0, 0));

  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
  menuClick(f.form, MenuId::mnuEdetRedo);
  EXPECT_EQ(f.state.Picture2.pixels(), GetParam().expected(original));
}

TEST_P(FilterDialogTest, ACancelDuringOkLeavesThePictureAsItWas) {
  const PixelArray original = f.state.Picture2.pixels();
  const std::uint64_t version = f.state.Picture2.version();
  ASSERT_NE(open(), nullptr);
  GetParam().changeSetting(f.form);
  int yields = 0;
  // The dialog's Cancel (or its close box) during the pass, and a second OK
  // and a zoom that must not run meanwhile.
  f.platform.setYieldHook([&] {
    if (++yields != 30) return;
    filterOkClick(f.form, GetParam().id);
    previewZoomClick(f.form, GetParam().id, true);
    filterUnload(f.form, GetParam().id);
    EXPECT_NE(f.form.dialog(GetParam().id), nullptr);  // closes once the pass has stopped
  });
  filterOkClick(f.form, GetParam().id);
  EXPECT_EQ(yields, 30);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
  EXPECT_EQ(f.state.Picture2.version(), version);
  EXPECT_FALSE(f.ui.ProgressBar1.visible);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
  EXPECT_TRUE(f.state.Picture2.editable());
  // The snapshot was pushed before the pass: one undo step, equal to the
  // picture.
  EXPECT_TRUE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
}

TEST_P(FilterDialogTest, CancelChangesNothingAndEveryOpeningStartsAfresh) {
  const std::uint64_t version = f.state.Picture2.version();
  f.app.zoom = 1;
  ASSERT_NE(open(), nullptr);
  GetParam().changeSetting(f.form);
  previewZoomClick(f.form, GetParam().id, true);
  filterUnload(f.form, GetParam().id);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
  EXPECT_EQ(f.state.Picture2.version(), version);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);

  FilterDialog* again = open();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->preview.previewZoom, 1);
  EXPECT_EQ(again->Picture2.image, again->Picture1.image);  // the settings are back at rest
}

TEST_P(FilterDialogTest, ShutDownClosesTheDialog) {
  ASSERT_NE(open(), nullptr);
  formUnload(f.form);
  EXPECT_EQ(f.form.dialog(GetParam().id), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, FilterDialogTest, ::testing::ValuesIn(kDialogs),
                         [](const ::testing::TestParamInfo<DialogKind>& info) {
                           return info.param.id == DialogId::Contrast ? "Contrast" : "ColourMask";
                         });

}  // namespace
}  // namespace plotvane
