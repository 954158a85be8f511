#include "filters/filter_dialog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <tuple>
#include <vector>

#include "filters/brightness_contrast.h"
#include "filters/colour_mask.h"
#include "filters/colour_mask_dialog.h"
#include "filters/contrast_dialog.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::codedPicture;
using testing::PictureForm;
using enum PreviewPaneId;

constexpr std::uint32_t kRed = 0xFF0000, kYellow = 0xFFFF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF,
                        kGreen = 0x00FF00;

// Rounded half to even; the first column and row, the edges, positions that round past the last
// column or row, and NaN read nothing.
TEST(FilterPreview, PaneColourIsReadOnlyStrictlyInside) {
  PixelArray image(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) image.set(x, y, rgbValue(x, y, 7));
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::optional<std::uint32_t> none;
  // clang-format off
  const struct { float x, y; std::optional<std::uint32_t> colour; } cases[] = {
      {2.6f, 1.2f, rgbValue(3, 1, 7)}, {2.5f, 0.5f, rgbValue(2, 0, 7)}, {0, 1, none},
      {1, 0, none}, {3.6f, 1, none}, {1, 2.6f, none}, {nan, 1, none}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(paneColourAt(image, c.x, c.y), c.colour) << c.x << "," << c.y;
}

// Each dialog with a setting that changes the picture, the pure pass that setting stands for, and
// the pass a fresh dialog stands for.
struct DialogKind {
  const char* name;
  DialogId id;
  MenuId command;
  std::function<void(Form1&)> changeSetting;
  std::function<PixelArray(const PixelArray&)> expected, atRest;
};

void PrintTo(const DialogKind& kind, std::ostream* out) {
  *out << kind.name;
}

const DialogKind kDialogs[] = {
    {"Contrast", DialogId::Contrast, MenuId::mnuFilterContrast,
     [](Form1& form) {
       form.dialogAs<ContrastDialog>(DialogId::Contrast)->Slider1.value = 60;
       contrastSlider1Change(form);
     },
     [](const PixelArray& p) { return *ApplyBrightnessContrast(p, 60, 0); },
     [](const PixelArray& p) { return p; }},
    {"ColourMask", DialogId::ColourMask, MenuId::mnuFilterColormask,
     [](Form1& form) {
       form.dialogAs<ColourMaskDialog>(DialogId::ColourMask)->Slider1.value = 20;
       colourMaskSlider1Change(form);
     },
     [](const PixelArray& p) { return *ApplyColourMask(p, {.tolerance = 20}); },
     [](const PixelArray& p) { return *ApplyColourMask(p, {.tolerance = 50}); }},
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
    menuClick(f.form, kind().command);
    return filterDialog(f.form, kind().id);
  }
  const DialogKind& kind() const { return GetParam(); }
  void changeSetting() { kind().changeSetting(f.form); }
  // The left pane shows the working picture from the rounded pan at the zoom.
  void expectLeftPaneShowsPicture(const FilterDialog& d, int dx, int dy) const {
    const PreviewState& p = d.preview;
    const int x = static_cast<int>(std::nearbyint(p.panX) + std::floor(dx / p.previewZoom));
    const int y = static_cast<int>(std::nearbyint(p.panY) + std::floor(dy / p.previewZoom));
    EXPECT_EQ(d.Picture1.image.at(dx, dy), f.state.Picture2.pixels().at(x, y));
  }
  void pointer(void (*handler)(Form1&, DialogId, PreviewPaneId, const PointerEvent&),
               PreviewPaneId pane, PointerButton button, float x, float y) {
    handler(f.form, kind().id, pane, {.button = button, .x = x, .y = y});
  }

  PictureForm f;
};

TEST_P(FilterDialogTest, OpensAtTheMainZoomCentredAndZoomsWithinTheViewLimits) {
  FilterDialog* d = open(0.5f);
  ASSERT_NE(d, nullptr);
  EXPECT_FALSE(f.ui.form.enabled);
  EXPECT_EQ(std::tuple(d->preview.previewZoom, d->preview.panX, d->preview.panY),
            std::tuple(0.5f, (1000 - 640) * 0.5f, (700 - 640) * 0.5f));
  expectLeftPaneShowsPicture(*d, 200, 100);
  EXPECT_EQ(d->Picture2.image, d->Picture1.image);  // nothing filtered yet
  changeSetting();
  for (int i = 0; i < 3; ++i) previewZoomClick(f.form, kind().id, true);
  EXPECT_EQ(std::tuple(d->preview.previewZoom, d->preview.panX, d->preview.panOriginY),
            std::tuple(4.0f, (1000 - 80) * 0.5f, (700 - 80) * 0.5f));
  expectLeftPaneShowsPicture(*d, 319, 319);
  EXPECT_EQ(d->Picture2.image, kind().expected(d->Picture1.image));
  for (int i = 0; i < 5; ++i) previewZoomClick(f.form, kind().id, true);
  EXPECT_EQ(d->preview.previewZoom, 64);
  for (int i = 0; i < 13; ++i) previewZoomClick(f.form, kind().id, false);
  EXPECT_EQ(d->preview.previewZoom, 1.0f / 64);
  expectLeftPaneShowsPicture(*d, 160, 160);
}

// From (100, 100) with the preview centred: past the top left, past the bottom right at zoom 2, and
// narrower than the pane. Closing the dialog changes nothing; each opening starts afresh.
TEST_P(FilterDialogTest, DragPansBothPanesWithinThePictureAndTheReleaseFilters) {
  const std::uint64_t version = f.state.Picture2.version();
  // clang-format off
  const struct { float zoom, toX, toY, panX, panY; } drags[] = {
      {1, 600, 600, 0, 0}, {2, -900, -900, 840, 540}, {0.25f, 300, 200, -140, -290}};
  // clang-format on
  for (const auto& drag : drags) {
    SCOPED_TRACE(::testing::Message() << "to " << drag.toX << "," << drag.toY);
    FilterDialog* d = open(drag.zoom);
    ASSERT_NE(d, nullptr);
    changeSetting();
    pointer(previewMouseDown, Picture2, PointerButton::Left, 100, 100);
    pointer(previewMouseMove, Picture2, PointerButton::Left, drag.toX, drag.toY);
    EXPECT_EQ(std::pair(d->preview.panX, d->preview.panY), std::pair(drag.panX, drag.panY));
    expectLeftPaneShowsPicture(*d, 160, 160);
    EXPECT_EQ(d->Picture2.image, d->Picture1.image);                  // unfiltered while dragging
    pointer(previewMouseMove, Picture1, PointerButton::Right, 0, 0);  // not the left: no pan
    EXPECT_EQ(d->preview.panX, drag.panX);
    pointer(previewMouseUp, Picture2, PointerButton::Left, drag.toX, drag.toY);
    EXPECT_EQ(d->Picture2.image, kind().expected(d->Picture1.image));
    filterUnload(f.form, kind().id);
    EXPECT_EQ(f.form.dialog(kind().id), nullptr);
    EXPECT_TRUE(f.ui.form.enabled);
  }
  EXPECT_EQ(f.state.Picture2.version(), version);
  EXPECT_FALSE(f.ui.menu(MenuId::mnuEdetUndo).enabled);
  FilterDialog* again = open(1);
  ASSERT_NE(again, nullptr);
  previewZoomClick(f.form, kind().id, false);
  EXPECT_EQ(again->Picture2.image, kind().atRest(again->Picture1.image));
  formUnload(f.form);
  EXPECT_EQ(f.form.dialog(kind().id), nullptr);
}

// A Cancel (or the close box) during OK's pass stops it and the dialog goes once it has; a second
// OK and a zoom then are ignored. The snapshot was pushed before the pass: an undo step equal to
// the picture. Then OK to the end, with the progress of every tenth of 1000 columns.
TEST_P(FilterDialogTest, OkFiltersThePictureUndoBringsItBackAndACancelDuringOkLeavesItAsItWas) {
  const PixelArray original = f.state.Picture2.pixels();
  ASSERT_NE(open(1), nullptr);
  changeSetting();
  int yields = 0;
  f.platform.setYieldHook([&] {
    if (++yields != 30) return;
    filterOkClick(f.form, kind().id);
    previewZoomClick(f.form, kind().id, true);
    filterUnload(f.form, kind().id);
    EXPECT_NE(f.form.dialog(kind().id), nullptr);
  });
  filterOkClick(f.form, kind().id);
  EXPECT_EQ(yields, 30);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
  EXPECT_FALSE(f.ui.ProgressBar1.visible);
  EXPECT_EQ(f.form.dialog(kind().id), nullptr);
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
  ASSERT_NE(open(1), nullptr);
  changeSetting();
  std::vector<int> progress;
  f.platform.setYieldHook([&] {
    if (f.ui.ProgressBar1.visible) progress.push_back(f.ui.ProgressBar1.value);
  });
  filterOkClick(f.form, kind().id);
  EXPECT_EQ(f.state.Picture2.pixels(), kind().expected(original));
  EXPECT_EQ(f.state.Picture1Image.at(0, 0), f.state.Picture2.pixels().at(0, 0));
  EXPECT_EQ(std::pair(progress.size(), progress.back()), std::pair(std::size_t(100), 99));
  menuClick(f.form, MenuId::mnuEdetUndo);
  EXPECT_EQ(f.state.Picture2.pixels(), original);
  menuClick(f.form, MenuId::mnuEdetRedo);
  EXPECT_EQ(f.state.Picture2.pixels(), kind().expected(original));
}

TEST_P(FilterDialogTest, DoesNothingWithoutAPictureOrWhileARunHoldsIt) {
  PictureForm empty;
  menuClick(empty.form, kind().command);
  EXPECT_EQ(empty.form.dialog(kind().id), nullptr);
  const WorkingPicture::RunHold hold = f.state.Picture2.holdForRun();
  EXPECT_EQ(open(1), nullptr);
  EXPECT_TRUE(f.ui.form.enabled);
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, FilterDialogTest, ::testing::ValuesIn(kDialogs),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FilterDialogs, EachContrastSliderHasItsField) {
  PictureForm f;
  ASSERT_TRUE(f.load("chart.bmp", codedPicture(400, 300)));
  menuClick(f.form, MenuId::mnuFilterContrast);
  auto* d = f.form.dialogAs<ContrastDialog>(DialogId::Contrast);
  ASSERT_NE(d, nullptr);
  d->Slider1.value = -35;
  contrastSlider1Change(f.form);
  d->Slider2.value = 100;
  contrastSlider2Change(f.form);
  EXPECT_EQ(std::tuple(d->txtCont.text, d->txtLum.text), std::tuple("-35", "100"));
  EXPECT_EQ(d->Picture2.image, *ApplyBrightnessContrast(d->Picture1.image, -35, 100));
}

// Left half red, right half yellow, a blue band along the top; at zoom 1 it fills each pane
// exactly. At the start (black, tolerance 50, keep) the mask keeps red and blue and whitens yellow.
class ColourMaskDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    PixelArray picture(320, 320);
    for (int y = 0; y < 320; ++y)
      for (int x = 0; x < 320; ++x) picture.set(x, y, y < 40 ? kBlue : x < 160 ? kRed : kYellow);
    ASSERT_TRUE(f.load("chart.bmp", std::move(picture)));
    f.app.zoom = 1;
    open();
  }
  void open() {
    menuClick(f.form, MenuId::mnuFilterColormask);
    d = f.form.dialogAs<ColourMaskDialog>(DialogId::ColourMask);
    ASSERT_NE(d, nullptr);
  }
  void pointer(bool release, PreviewPaneId pane, PointerButton button, float x, float y) {
    const PointerEvent event{.button = button, .x = x, .y = y};
    (release ? previewMouseUp : previewMouseMove)(f.form, DialogId::ColourMask, pane, event);
  }

  PictureForm f;
  ColourMaskDialog* d = nullptr;
};

// Released over red, over the masked yellow, on the first column or row, or with the left button;
// green stands for "nothing picked", which nothing here shows.
TEST_F(ColourMaskDialogTest, TheRightButtonPicksAndTheSwatchFollowsWithinThePaneBounds) {
  constexpr PointerButton kRight = PointerButton::Right;
  // clang-format off
  const struct { PreviewPaneId pane; PointerButton button; float x, y; std::uint32_t picked; } releases[] = {
      {Picture1, kRight, 50, 100, kRed}, {Picture2, kRight, 250, 100, kWhite},
      {Picture1, kRight, 0, 50, kGreen}, {Picture1, PointerButton::Left, 50, 50, kGreen}};
  // clang-format on
  for (const auto& r : releases) {
    SCOPED_TRACE(::testing::Message() << "at " << r.x << "," << r.y);
    d->Label3.colour = kGreen;
    pointer(true, r.pane, r.button, r.x, r.y);
    EXPECT_EQ(d->Label3.colour, r.picked);
    d->Label3.colour = 0;  // the right pane masked with black again
    pointer(true, Picture1, PointerButton::None, 5, 5);
  }
  // The swatch shows the left pane's colour under the pointer over either pane.
  pointer(false, Picture2, PointerButton::None, 250, 100);
  EXPECT_EQ(d->Label4.colour, kYellow);  // the right pane shows white there
  pointer(false, Picture1, PointerButton::None, 0, 10);
  EXPECT_EQ(d->Label4.colour, kYellow);  // the first column does not count
  pointer(false, Picture1, PointerButton::Left, 100, 10);
  EXPECT_EQ(d->Label4.colour, kBlue);
}

// The chooser starts from its last colour and remembers it across openings; the dialog starts black
// again; a cancelled chooser changes nothing.
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
  filterUnload(f.form, DialogId::ColourMask);
  open();
  EXPECT_EQ(d->Label3.colour, 0u);
  colourMaskLabel3Click(f.form);
  EXPECT_EQ(f.platform.colourChoosers(), (std::vector<std::uint32_t>{0, kYellow, kYellow}));
}

TEST_F(ColourMaskDialogTest, SliderAndModesRedrawTheMaskedPaneAndEnterRunsOk) {
  const auto tolerance = [this](int value) {
    d->Slider1.value = value;
    colourMaskSlider1Change(f.form);
  };
  // clang-format off
  const struct { std::function<void()> act; const char* text; std::uint32_t red, yellow; } steps[] = {
      {[&] { tolerance(40); }, "40", kWhite, kWhite},  // what the right pane shows of each
      {[&] { colourMaskOptionClick(f.form, false); }, "40", kRed, kYellow},  // remove
      {[&] { tolerance(255); }, "255", kWhite, kWhite}};
  // clang-format on
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(std::tuple(d->txtColorRange.text, d->Picture2.image.at(50, 100),
                         d->Picture2.image.at(250, 100)),
              std::tuple(step.text, step.red, step.yellow));
  }
  colourMaskKeyDown(f.form, 32);
  ASSERT_NE(f.form.dialog(DialogId::ColourMask), nullptr);
  colourMaskKeyDown(f.form, 13);
  EXPECT_EQ(f.form.dialog(DialogId::ColourMask), nullptr);
  EXPECT_EQ(f.state.Picture2.pixels().at(50, 100), kWhite);
}

}  // namespace
}  // namespace plotvane
