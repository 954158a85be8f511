#include "digitize/calibration.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "app/handler_boundary.h"
#include "app/language.h"
#include "base/number_text.h"
#include "digitize/scale_fields.h"
#include "platform/headless_platform.h"
#include "shell/form1_events.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

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

const auto xy = [](const DataValue& v) { return std::pair(v.x, v.y); };

TEST(PixelToData, ConvertsInDoubleWithReversedAxesAndExtrapolation) {
  // Rectangle 100 ... 300 by 50 ... 250; x0, x1, y0, y1, px, py -> x, y
  const std::tuple<float, float, float, float, float, float, float, float> cases[] = {
      {0, 10, 0, 100, 200, 150, 5, 50},    {0, 10, 0, 100, 300, 50, 10, 100},
      {0, 10, 0, 100, 400, 350, 15, -50},  {0, 10, 0, 100, 0, 0, -5, 125},
      {10, 0, 100, 0, 150, 100, 7.5f, 25}, {-1, 1, 5, 5, 250, 200, 0.5f, 5}};
  for (const auto& [x0, x1, y0, y1, px, py, x, y] : cases)
    EXPECT_EQ(xy(axisValuesAt({100, 300, 50, 250, x0, x1, y0, y1}, px, py).value_or(DataValue{})),
              std::pair(x, y))
        << px << ", " << py;
  // Single-precision arithmetic gives -185.307037 here.
  const Calibration c{92.3385925f, 489.919312f, 0, 1, -313.739807f, -112.089233f, 0, 1};
  EXPECT_EQ(axisValuesAt(c, 345.56073f, 0)->x, -185.307053f);
  EXPECT_FALSE(axisValuesAt({100, 300, 50, 50, 0, 10, 0, 100}, 150, 100) ||  // no height
               axisValuesAt({300, 100, 50, 250, 0, 10, 0, 100}, 150, 100));  // reversed
  EXPECT_EQ(axisValuesAt({0, 1, 0, 1, -3e38f, 3e38f, 0, 1}, 0.5f, 0.5f)->x, 0);
  EXPECT_EQ(toSingle(0x1.fffffefffffffp+127), 0x1.fffffep+127);  // rounds down to the largest
  for (double tooLarge : {0x1.ffffffp+127, -1e39, std::numeric_limits<double>::infinity()})
    EXPECT_THROW(toSingle(tooLarge), OverflowError) << tooLarge;
}

TEST_F(CalibrationFields, ScaleFieldsMirrorIntoValueFieldsAndBack) {
  const std::tuple<Control&, Control&, float&> pairs[] = {{ui.txtMinLabelX, ui.txtLXS, state.minX},
                                                          {ui.txtMaxLabelX, ui.txtLXE, state.maxX},
                                                          {ui.txtMinLabelY, ui.txtLYB, state.minY},
                                                          {ui.txtMaxLabelY, ui.txtLYT, state.maxY}};
  for (const auto& [scaleField, valueField, value] : pairs) {
    SCOPED_TRACE(scaleField.name);
    scaleField.setText("2.50 apples");  // the typed text stays; 3 characters of 6 pixels
    EXPECT_EQ(std::tuple(value, scaleField.text, valueField.text, valueField.geometry.width),
              std::tuple(2.5f, "2.50 apples", "2.5", 18 * kTwipsPerPixel));
    valueField.setText("-7.25");
    EXPECT_EQ(std::tuple(value, scaleField.text, valueField.geometry.width),
              std::tuple(-7.25f, "-7.25", 30 * kTwipsPerPixel));
  }
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
  EXPECT_EQ(xy(PixelToData(form, 50, 50)), std::pair(11.5f, 100.0f));
  form.state.Picture2.setRect({.lineXE = 0, .lineYB = 100});  // no width: 0, 0
  EXPECT_EQ(xy(PixelToData(form, 50, 50)), std::pair(0.0f, 0.0f));
  ui.txtMaxLabelX.text = "1e39";
  form.state.Picture2.setRect({.lineXE = 100, .lineYB = 100});
  EXPECT_THROW(PixelToData(form, 50, 50), OverflowError);
}

TEST_F(CalibrationFields, TypingIsNeverOverwrittenByTheMirror) {
  // Each field starts at "-10", selected; then the keystrokes, each the whole new text.
  const std::tuple<Control&, std::vector<std::string>, Control&, float&, std::string, float>
      cases[] = {
          {ui.txtMaxLabelX, {".", ".5"}, ui.txtLXE, state.maxX, "0.5", 0.5f},
          {ui.txtMinLabelX, {"-", "-2", "-20"}, ui.txtLXS, state.minX, "-20", -20},
          {ui.txtMaxLabelY, {"1", "10", "10."}, ui.txtLYT, state.maxY, "10", 10},
          {ui.txtLYB, {"-", "-.", "-.2", "-.25"}, ui.txtMinLabelY, state.minY, "-0.25", -0.25f}};
  for (const auto& [field, keystrokes, mirror, value, mirrorText, expected] : cases) {
    SCOPED_TRACE(field.name);
    field.setText("-10");
    for (const std::string& text : keystrokes) field.setText(text);
    EXPECT_EQ(std::tuple(field.text, mirror.text, value),
              std::tuple(keystrokes.back(), mirrorText, expected));
  }
  // The round trip stops after one step, and a mirror is written only when its text differs.
  int scaleRuns = 0, valueRuns = 0;
  for (auto [field, runs] : {std::pair{&ui.txtMaxLabelX, &scaleRuns}, {&ui.txtLXE, &valueRuns}})
    field->onChange = [inner = field->onChange, runs] { ++*runs, inner(); };
  ui.txtMaxLabelX.setText("5"), ui.txtMaxLabelX.setText("5."), ui.txtLXE.setText("6");
  EXPECT_EQ(std::pair(scaleRuns, valueRuns), std::pair(3, 2));
}

TEST_F(CalibrationFields, TextsThatDoNotConvertOrOverflowChangeNothing) {
  ui.txtMinLabelY.setText("4");
  for (const char* text : {"", "-", ".", "1,5", "abc", "4 4", "1e39", "12x"}) {
    ui.txtLYB.setText(text);
    EXPECT_EQ(std::tuple(state.minY, ui.txtMinLabelY.text, valueFieldInvalid(form, ui.txtLYB)),
              std::tuple(4.0f, "4", true))
        << text;
  }
  ui.txtLYB.setText("&H10");  // converting text clears the mark
  EXPECT_EQ(std::tuple(valueFieldInvalid(form, ui.txtLYB), ui.txtMinLabelY.text),
            std::tuple(false, "16"));
  ui.txtLXS.setText("x");
  ui.txtMinLabelX.setText("7");  // so does the program writing the field
  EXPECT_EQ(std::tuple(valueFieldInvalid(form, ui.txtLXS), ui.txtLXS.text), std::tuple(false, "7"));
  ui.txtMaxLabelX.setText("10");
  EXPECT_FALSE(runHandler(platform, [&] { ui.txtMaxLabelX.setText("1e39"); }));
  ui.txtSmpX.text = "1e-320";  // a division count so small that the pitch overflows
  EXPECT_FALSE(runHandler(platform, [&] { ui.txtMaxLabelX.setText("20"); }));
  EXPECT_EQ(std::tuple(platform.messages().size(), platform.messages().at(1).text, state.maxX,
                       ui.txtLXE.text, ui.txtStpX.text),
            std::tuple(2u, "Overflow", 10.0f, "10", "0.015"));
}

TEST_F(CalibrationFields, DecimalPointIsReadWhateverTheLocale) {
  // In a locale that writes decimals with a comma: a German one, built if none is there.
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
    const auto dir = std::filesystem::temp_directory_path() / "plotvane-calibration-locale";
    std::filesystem::create_directories(dir);
    (void)std::system(
        ("localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1")
            .c_str());
    setenv("LOCPATH", dir.c_str(), 1);
  }
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no locale with a decimal comma";
  ui.txtLXE.setText("0.125");
  ui.txtLYT.setText("0,5");
  EXPECT_EQ(
      std::tuple(std::string(std::localeconv()->decimal_point), state.maxX, ui.txtMaxLabelX.text,
                 PixelToData(form, 100, 0).x, state.valueFieldInvalid.txtLYT),
      std::tuple(",", 0.125f, "0.125", 0.125f, true));
  std::setlocale(LC_ALL, "C");
}

TEST_F(CalibrationFields, GridAndFootprintFieldsAndSnapToGrid) {
  for (const auto& [text, side] :
       {std::pair{"7.5", 7.5f}, {"-3", 0.0f}, {"abc", 0.0f}, {"1e9", 32767.0f}}) {
    ui.txtPicUpRange.setText(text), ui.txtErs.setText(text);
    EXPECT_EQ(ui.shapPicUpRange.width, side) << text;
    EXPECT_EQ(ui.shapEraseRange.height, side) << text;
  }
  ui.txtGrid.setText("2.5 px");
  EXPECT_EQ(form.app.gridStep, 2.5f);
  // onGrid, pitch, zoom, offset, d, extent -> position
  const std::tuple<std::int16_t, float, float, int, int, float, float> cases[] = {
      {1, 10, 2, 0, 31, 1000, 20}, {1, 10, 2, 0, 29, 1000, 10},   {0, 10, 2, 0, 31, 1000, 15.5f},
      {1, 10, 2, 0, 50, 1000, 30}, {1, 10, 2, 100, 31, 1000, 70}, {1, 0.5f, 4, 0, 7, 1000, 2},
      {0, 10, 2, 0, -1, 640, 0},   {1, 0, 2, 0, 31, 1000, 15.5f}, {1, -5, 2, 0, 31, 1000, 15.5f},
      {1, 10, 0, 0, 31, 1000, 0},  {1, 3, 1, 0, 640, 640, 639},   {1, 3, 1, 0, 641, 640, 640}};
  for (const auto& [onGrid, step, zoom, offset, d, extent, expected] : cases)
    EXPECT_EQ(gridPosition({onGrid, step, zoom}, offset, d, extent), expected)
        << onGrid << " " << step << " " << zoom << " at " << offset << "+" << d;
}

TEST(CalibrationStartUp, StartUpRunsTheFieldHandling) {
  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  Form1 form{platform};
  formLoad(form);
  const Form1Controls& ui = form.ui;  // the four scale texts ran their handling
  EXPECT_EQ(ui.txtLXS.text + ui.txtLXE.text + ui.txtLYT.text + ui.txtLYB.text + ui.txtStpX.text,
            "01100.005");
}

}  // namespace
}  // namespace plotvane
