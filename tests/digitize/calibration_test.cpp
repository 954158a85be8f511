#include "digitize/calibration.h"

#include <gtest/gtest.h>

#include <limits>

#include "app/handler_boundary.h"
#include "app/language.h"
#include "base/number_text.h"
#include "digitize/scale_fields.h"
#include "platform/headless_platform.h"

namespace plotvane {
namespace {

TEST(PixelToData, ConvertsInDoubleWithReversedAxesAndExtrapolation) {
  // The rectangle 100 ... 300 by 50 ... 250; X 0 to 10 and Y 0 to 100 unless given.
  // clang-format off
  const struct { float x0 = 0, x1 = 10, y0 = 0, y1 = 100, px, py, x, y; } cases[] = {
      {.px = 200, .py = 150, .x = 5, .y = 50}, {.px = 300, .py = 50, .x = 10, .y = 100},
      {.px = 400, .py = 350, .x = 15, .y = -50}, {.px = 0, .py = 0, .x = -5, .y = 125},
      {.x0 = 10, .x1 = 0, .y0 = 100, .y1 = 0, .px = 150, .py = 100, .x = 7.5f, .y = 25},
      {.x0 = -1, .x1 = 1, .y0 = 5, .y1 = 5, .px = 250, .py = 200, .x = 0.5f, .y = 5}};
  // clang-format on
  for (const auto& c : cases) {
    const auto value = axisValuesAt({{100, 300, 50, 250}, c.x0, c.x1, c.y0, c.y1}, c.px, c.py);
    ASSERT_TRUE(value);
    EXPECT_EQ(std::tuple(value->x, value->y), std::tuple(c.x, c.y)) << c.px << ", " << c.py;
  }
  // Single-precision arithmetic gives -185.307037 here.
  const Calibration c{92.3385925f, 489.919312f, 0, 1, -313.739807f, -112.089233f, 0, 1};
  EXPECT_EQ(axisValuesAt(c, 345.56073f, 0)->x, -185.307053f);
  EXPECT_FALSE(axisValuesAt({100, 300, 50, 50, 0, 10, 0, 100}, 150, 100));   // no height
  EXPECT_FALSE(axisValuesAt({300, 100, 50, 250, 0, 10, 0, 100}, 150, 100));  // reversed
  EXPECT_EQ(axisValuesAt({0, 1, 0, 1, -3e38f, 3e38f, 0, 1}, 0.5f, 0.5f)->x, 0);
  EXPECT_EQ(toSingle(0x1.fffffefffffffp+127), 0x1.fffffep+127);  // rounds down to the largest
  for (double tooLarge : {0x1.ffffffp+127, -1e39, std::numeric_limits<double>::infinity()})
    EXPECT_THROW(toSingle(tooLarge), OverflowError) << tooLarge;
}

// The scale fields 0 to 1 over the rectangle (0, 0)-(100, 100), 200 divisions.
class CalibrationFields : public ::testing::Test {
 protected:
  CalibrationFields() {
    SetLngage(form.app);
    installCalibrationHandlers(form);
    ui.txtSmpX.text = "200";
    for (Control* field : {&ui.txtMaxLabelX, &ui.txtMaxLabelY}) field->setText("1");
    for (Control* field : {&ui.txtMinLabelX, &ui.txtMinLabelY}) field->setText("0");
    form.state.Picture2.setRect({.lineXE = 100, .lineYB = 100});
  }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
  FormState& state = form.state;
};

// A scale field keeps the text typed in it, its value field shows the value (6 pixels wide a
// character); typing in the value field writes the scale field. The mirror never overwrites what is
// being typed.
TEST_F(CalibrationFields, ScaleAndValueFieldsMirrorEachOtherWithoutOverwritingTyping) {
  // clang-format off
  const struct { Control& scale; Control& mirror; float& value; } pairs[] = {
      {.scale = ui.txtMinLabelX, .mirror = ui.txtLXS, .value = state.minX},
      {.scale = ui.txtMaxLabelX, .mirror = ui.txtLXE, .value = state.maxX},
      {.scale = ui.txtMinLabelY, .mirror = ui.txtLYB, .value = state.minY},
      {.scale = ui.txtMaxLabelY, .mirror = ui.txtLYT, .value = state.maxY}};
  // clang-format on
  // The value, both texts and the value field's width in pixels.
  const auto seen = [](float value, const Control& scale, const Control& mirror) {
    return std::tuple(value, scale.text, mirror.text, mirror.geometry.width / kTwipsPerPixel);
  };
  for (const auto& [scale, mirror, value] : pairs) {
    scale.setText("2.50 apples");
    EXPECT_EQ(seen(value, scale, mirror), std::tuple(2.5f, "2.50 apples", "2.5", 18)) << scale.name;
    mirror.setText("-7.25");
    EXPECT_EQ(seen(value, scale, mirror), std::tuple(-7.25f, "-7.25", "-7.25", 30)) << scale.name;
  }
  // Typed keystroke by keystroke into a value field, each the whole new text.
  ui.txtLYB.setText("-10");
  for (const char* text : {"-", "-.", "-.2", "-.25"}) ui.txtLYB.setText(text);
  EXPECT_EQ(std::tuple(ui.txtLYB.text, ui.txtMinLabelY.text, state.minY),
            std::tuple("-.25", "-0.25", -0.25f));
}

TEST_F(CalibrationFields, XScaleFieldsSetThePitchUnlessTheCountIsZeroAndConversionReadsTheTexts) {
  ui.txtMaxLabelX.setText("10");
  ui.txtLXS.setText("0.1");  // the double quotient of the single values, 15 digits
  EXPECT_EQ(ui.txtStpX.text, "0.0494999999925494");
  // Division count 0: values and mirrors still follow, so the conversion agrees with the labels.
  ui.txtSmpX.text = "0";
  ui.txtMinLabelX.setText("3");
  ui.txtLXE.setText("23");
  EXPECT_EQ(
      std::tuple(state.minX, state.maxX, ui.txtLXS.text, ui.txtMaxLabelX.text, ui.txtStpX.text),
      std::tuple(3.0f, 23.0f, "3", "23", "0.0494999999925494"));
  // Written without running any handling: the texts are read at every call, not minX and maxX.
  ui.txtMaxLabelX.text = "20 units", ui.txtMinLabelY.text = "abc", ui.txtMaxLabelY.text = " 2 0 0";
  const auto at = [&](float x, float y) {
    const DataValue value = PixelToData(form, x, y);
    return std::tuple(value.x, value.y);
  };
  EXPECT_EQ(at(50, 50), std::tuple(11.5f, 100.0f));
  form.state.Picture2.setRect({.lineXE = 0, .lineYB = 100});  // no width: 0, 0
  EXPECT_EQ(at(50, 50), std::tuple(0.0f, 0.0f));
  ui.txtMaxLabelX.text = "1e39";
  form.state.Picture2.setRect({.lineXE = 100, .lineYB = 100});
  EXPECT_THROW(PixelToData(form, 50, 50), OverflowError);
}

TEST_F(CalibrationFields, TextsThatDoNotConvertOrOverflowChangeNothing) {
  ui.txtMinLabelY.setText("4");
  for (const char* text : {"", "1,5", "12x", "1e39"}) {
    ui.txtLYB.setText(text);
    EXPECT_EQ(std::tuple(state.minY, ui.txtMinLabelY.text, valueFieldInvalid(form, ui.txtLYB)),
              std::tuple(4.0f, "4", true))
        << '"' << text << '"';
  }
  ui.txtLYB.setText("&H10");  // converting text clears the mark
  EXPECT_EQ(std::tuple(valueFieldInvalid(form, ui.txtLYB), ui.txtMinLabelY.text),
            std::tuple(false, "16"));
  ui.txtLXS.setText("x");
  ui.txtMinLabelX.setText("7");  // so does the program writing the field
  EXPECT_EQ(std::tuple(valueFieldInvalid(form, ui.txtLXS), ui.txtLXS.text), std::tuple(false, "7"));
  ui.txtMaxLabelX.setText("10");
  ui.txtSmpX.text = "1e-320";  // a division count so small that the pitch overflows
  EXPECT_FALSE(runHandler(platform, [&] { ui.txtMaxLabelX.setText("20"); }));
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "Overflow");
  EXPECT_EQ(std::tuple(state.maxX, ui.txtLXE.text, ui.txtStpX.text),
            std::tuple(10.0f, "10", "0.015"));
}

TEST_F(CalibrationFields, GridAndFootprintFieldsAndSnapToGrid) {
  // clang-format off
  const struct { const char* text; float side; } sizes[] = {
      {.text = "7.5", .side = 7.5f}, {.text = "-3", .side = 0}, {.text = "1e9", .side = 32767}};
  // clang-format on
  for (const auto& c : sizes) {
    ui.txtPicUpRange.setText(c.text), ui.txtErs.setText(c.text);
    EXPECT_EQ(std::tuple(ui.shapPicUpRange.width, ui.shapEraseRange.height),
              std::tuple(c.side, c.side))
        << c.text;
  }
  ui.txtGrid.setText("2.5 px");
  EXPECT_EQ(form.app.gridStep, 2.5f);
  // Snapping on with a pitch of 10 at zoom 2, no scrolling, 1000 pixels wide, unless given.
  // clang-format off
  const struct {
    std::int16_t on = 1; float pitch = 10, zoom = 2; int offset = 0, d; float extent = 1000, at;
  } cases[] = {
      {.d = 31, .at = 20}, {.d = 29, .at = 10}, {.on = 0, .d = 31, .at = 15.5f},
      {.offset = 100, .d = 31, .at = 70}, {.pitch = 0.5f, .zoom = 4, .d = 7, .at = 2},
      {.on = 0, .d = -1, .extent = 640, .at = 0}, {.pitch = 0, .d = 31, .at = 15.5f},
      {.zoom = 0, .d = 31, .at = 0}, {.pitch = 3, .zoom = 1, .d = 641, .extent = 640, .at = 640}};
  // clang-format on
  for (const auto& c : cases)
    EXPECT_EQ(gridPosition({c.on, c.pitch, c.zoom}, c.offset, c.d, c.extent), c.at)
        << c.on << " " << c.pitch << " " << c.zoom << " at " << c.offset << "+" << c.d;
}

}  // namespace
}  // namespace plotvane
