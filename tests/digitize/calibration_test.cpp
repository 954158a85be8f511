#include "digitize/calibration.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "app/form1_events.h"
#include "app/handler_boundary.h"
#include "app/language.h"
#include "app/number_text.h"
#include "platform/headless_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

// A form with the calibration handling and the start-up scale texts, without the rest of start-up.
class CalibrationFields : public ::testing::Test {
 protected:
  CalibrationFields() {
    SetLngage(form.app);
    installCalibrationHandlers(form);
    ui.txtSmpX.text = "200";
    ui.txtStpX.text = "0.005";
    for (Control* field : {&ui.txtMaxLabelX, &ui.txtMaxLabelY}) field->setText("1");
    for (Control* field : {&ui.txtMinLabelX, &ui.txtMinLabelY}) field->setText("0");
  }
  void setRectangle(float xs, float xe, float yt, float yb) {
    form.app.lineXS = xs, form.app.lineXE = xe, form.app.lineYT = yt, form.app.lineYB = yb;
  }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
  FormState& state = form.state;
};

TEST(PixelToData, ConvertsInDoubleWithReversedAxesAndExtrapolation) {
  // Rectangle 100 ... 300 by 50 ... 250; x0, x1, y0, y1, px, py -> x, y
  const std::tuple<float, float, float, float, float, float, float, float> cases[] = {
      {0, 10, 0, 100, 200, 150, 5, 50},  {0, 10, 0, 100, 100, 250, 0, 0},
      {0, 10, 0, 100, 300, 50, 10, 100}, {0, 10, 0, 100, 400, 350, 15, -50},
      {0, 10, 0, 100, 0, 0, -5, 125},    {10, 0, 100, 0, 150, 100, 7.5f, 25},
      {-1, 1, 5, 5, 250, 200, 0.5f, 5}};
  for (const auto& [x0, x1, y0, y1, px, py, x, y] : cases) {
    const auto result = pixelToData({100, 300, 50, 250, x0, x1, y0, y1}, px, py);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(std::pair(result->x, result->y), std::pair(x, y)) << px << ", " << py;
  }
  // Single-precision arithmetic gives -185.307037 here.
  const Calibration c{92.3385925f, 489.919312f, 0, 1, -313.739807f, -112.089233f, 0, 1};
  EXPECT_EQ(pixelToData(c, 345.56073f, 0)->x, -185.307053f);
}

TEST(PixelToData, NoResultWithoutARectangleAndOverflowBeyondSingles) {
  for (const Calibration& c :
       {Calibration{100, 100, 50, 250, 0, 10, 0, 100}, Calibration{100, 300, 50, 50, 0, 10, 0, 100},
        Calibration{300, 100, 50, 250, 0, 10, 0, 100}})
    EXPECT_FALSE(pixelToData(c, 150, 100).has_value());
  EXPECT_EQ(pixelToData({0, 1, 0, 1, -3e38f, 3e38f, 0, 1}, 0.5f, 0.5f)->x, 0);
  EXPECT_THROW(pixelToData({0, 1, 0, 1, -3e38f, 3e38f, 0, 1}, 2, 0.5f), OverflowError);
  EXPECT_THROW(pixelToData({0, 1, 0, 1, 0, 1, -3e38f, 3e38f}, 0.5f, -1), OverflowError);
  EXPECT_EQ(toSingle(0x1.fffffefffffffp+127), 0x1.fffffep+127);  // rounds down to the largest
  EXPECT_THROW(toSingle(0x1.ffffffp+127), OverflowError);        // the tie rounds up
  EXPECT_THROW(toSingle(-1e39), OverflowError);
  EXPECT_THROW(toSingle(std::numeric_limits<double>::infinity()), OverflowError);
  EXPECT_EQ(toSingle(1e-50), 0);
}

TEST_F(CalibrationFields, PixelToDataReadsTheScaleTextsAtEveryCall) {
  setRectangle(100, 300, 50, 250);
  ui.txtMaxLabelX.setText("10");
  ui.txtMaxLabelY.setText("100");
  const auto centre = [&] {
    const DataValue v = PixelToData(form, 200, 150);
    return std::pair(v.x, v.y);
  };
  EXPECT_EQ(centre(), std::pair(5.0f, 50.0f));
  // Written without running any handling: minX and maxX are not what is read.
  ui.txtMaxLabelX.text = "20 units", ui.txtMinLabelY.text = "abc", ui.txtMaxLabelY.text = " 2 0 0";
  EXPECT_EQ(centre(), std::pair(10.0f, 100.0f));
  form.app.lineXE = form.app.lineXS;  // no width: 0, 0
  EXPECT_EQ(centre(), std::pair(0.0f, 0.0f));
  ui.txtMaxLabelX.text = "1e39";
  form.app.lineXE = 300;
  EXPECT_THROW(PixelToData(form, 200, 150), OverflowError);
}

TEST_F(CalibrationFields, ScaleFieldsMirrorIntoValueFieldsAndBack) {
  const std::tuple<Control&, Control&, float&> pairs[] = {{ui.txtMinLabelX, ui.txtLXS, state.minX},
                                                          {ui.txtMaxLabelX, ui.txtLXE, state.maxX},
                                                          {ui.txtMinLabelY, ui.txtLYB, state.minY},
                                                          {ui.txtMaxLabelY, ui.txtLYT, state.maxY}};
  for (const auto& [scaleField, valueField, value] : pairs) {
    SCOPED_TRACE(scaleField.name);
    scaleField.setText("2.50");  // the typed text stays; 3 characters of 6 pixels
    EXPECT_EQ(std::tuple(value, scaleField.text, valueField.text, valueField.geometry.width),
              std::tuple(2.5f, "2.50", "2.5", 18 * kTwipsPerPixel));
    valueField.setText("-7.25");
    EXPECT_EQ(std::tuple(value, scaleField.text, valueField.geometry.width),
              std::tuple(-7.25f, "-7.25", 30 * kTwipsPerPixel));
    scaleField.setText("1E3 apples");
    EXPECT_EQ(std::tuple(value, valueField.text), std::tuple(1000.0f, "1000"));
  }
}

TEST_F(CalibrationFields, XScaleFieldsSetThePitchUnlessTheCountIsZero) {
  setRectangle(0, 100, 0, 100);
  ui.txtMaxLabelX.setText("10");
  ui.txtMinLabelX.setText("2");
  EXPECT_EQ(ui.txtStpX.text, "0.04");
  ui.txtLXE.setText("12.5");
  EXPECT_EQ(ui.txtStpX.text, "0.0525");
  ui.txtMinLabelX.setText("0.1");  // the double quotient of the single values, 15 digits
  EXPECT_EQ(ui.txtStpX.text, "0.0619999999925494");
  ui.txtMaxLabelY.setText("50");  // the Y fields leave the pitch alone
  EXPECT_EQ(ui.txtStpX.text, "0.0619999999925494");

  // Division count 0: values and mirrors still follow, so the conversion agrees with the labels.
  ui.txtSmpX.text = "0";
  ui.txtMinLabelX.setText("3");
  ui.txtLXE.setText("23");
  EXPECT_EQ(std::pair(state.minX, state.maxX), std::pair(3.0f, 23.0f));
  EXPECT_EQ(ui.txtLXS.text + " " + ui.txtMaxLabelX.text, "3 23");
  EXPECT_EQ(ui.txtStpX.text, "0.0619999999925494");
  EXPECT_EQ(PixelToData(form, 0, 0).x, state.minX);
  EXPECT_EQ(PixelToData(form, 100, 0).x, state.maxX);
}

TEST_F(CalibrationFields, TypingIsNeverOverwrittenByTheMirror) {
  // Each field starts at "-10", selected; then the keystrokes, each the whole new text.
  const std::tuple<Control&, std::vector<std::string>, Control&, float&, std::string, float>
      cases[] = {
          // "." reads 0, and that 0 must not replace it.
          {ui.txtMaxLabelX, {".", ".5"}, ui.txtLXE, state.maxX, "0.5", 0.5f},
          {ui.txtMinLabelX, {"-", "-2", "-20"}, ui.txtLXS, state.minX, "-20", -20},
          {ui.txtMaxLabelY, {"1", "10", "10."}, ui.txtLYT, state.maxY, "10", 10},
          {ui.txtLYB, {"-", "-.", "-.2", "-.25"}, ui.txtMinLabelY, state.minY, "-0.25", -0.25f},
          {ui.txtLXE, {"1", "1."}, ui.txtMaxLabelX, state.maxX, "1", 1}};
  for (const auto& [field, keystrokes, mirror, value, mirrorText, expected] : cases) {
    SCOPED_TRACE(field.name);
    field.setText("-10");
    for (const std::string& text : keystrokes) field.setText(text);
    EXPECT_EQ(field.text, keystrokes.back());
    EXPECT_EQ(mirror.text, mirrorText);
    EXPECT_EQ(value, expected);
  }
}

TEST_F(CalibrationFields, RoundTripStopsAfterOneStep) {
  int scaleRuns = 0, valueRuns = 0;
  for (auto [field, runs] : {std::pair{&ui.txtMaxLabelX, &scaleRuns}, {&ui.txtLXE, &valueRuns}})
    field->onChange = [inner = field->onChange, runs] { ++*runs, inner(); };
  ui.txtMaxLabelX.setText("5");
  EXPECT_EQ(std::pair(scaleRuns, valueRuns), std::pair(1, 1));
  ui.txtMaxLabelX.setText("5.");  // the mirror already holds "5"
  EXPECT_EQ(std::pair(scaleRuns, valueRuns), std::pair(2, 1));
  ui.txtLXE.setText("6");
  EXPECT_EQ(std::pair(scaleRuns, valueRuns), std::pair(3, 2));
  EXPECT_EQ(ui.txtLXE.text, "6");
}

TEST_F(CalibrationFields, ValueFieldThatDoesNotConvertKeepsTheValueAndShowsAnError) {
  ui.txtMinLabelY.setText("4");
  for (const char* text : {"", "-", ".", "1,5", "abc", "4 4", "1e39", "12x"}) {
    ui.txtLYB.setText(text);
    EXPECT_EQ(state.minY, 4) << text;
    EXPECT_EQ(ui.txtMinLabelY.text, "4") << text;
    EXPECT_TRUE(valueFieldInvalid(form, ui.txtLYB)) << text;
    EXPECT_FALSE(valueFieldInvalid(form, ui.txtLYT)) << text;
  }
  ui.txtLYB.setText("&H10");  // converting text clears the mark
  EXPECT_FALSE(valueFieldInvalid(form, ui.txtLYB));
  EXPECT_EQ(ui.txtMinLabelY.text, "16");
  ui.txtLXS.setText("x");
  ui.txtMinLabelX.setText("7");  // so does the program writing the field
  EXPECT_FALSE(valueFieldInvalid(form, ui.txtLXS));
  EXPECT_EQ(ui.txtLXS.text, "7");
}

TEST_F(CalibrationFields, ValueBeyondSingleRangeIsAnOverflowThatChangesNothing) {
  ui.txtMaxLabelX.setText("10");
  EXPECT_FALSE(runHandler(platform, [&] { ui.txtMaxLabelX.setText("1e39"); }));
  ui.txtSmpX.text = "1e-320";  // a division count so small that the pitch overflows
  EXPECT_FALSE(runHandler(platform, [&] { ui.txtMaxLabelX.setText("20"); }));
  ASSERT_EQ(platform.messages().size(), 2u);
  EXPECT_EQ(platform.messages()[0].text, "Overflow");
  EXPECT_EQ(state.maxX, 10);
  EXPECT_EQ(ui.txtLXE.text, "10");
  EXPECT_EQ(ui.txtStpX.text, "0.05");
}

// Switches to a locale that writes decimals with a comma, building a German one if none is there.
bool switchToDecimalCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
    if (std::setlocale(LC_ALL, name)) return true;
  const auto dir = std::filesystem::temp_directory_path() / "plotvane-calibration-locale";
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0 && !std::filesystem::exists(dir / "de_DE.UTF-8"))
    return false;
  setenv("LOCPATH", dir.c_str(), 1);
  return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST_F(CalibrationFields, DecimalPointIsReadWhateverTheLocale) {
  if (!switchToDecimalCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma";
  const std::string point = std::localeconv()->decimal_point;
  setRectangle(0, 100, 0, 100);
  ui.txtLXE.setText("0.125");
  ui.txtMaxLabelY.setText("2.5");
  const DataValue right = PixelToData(form, 100, 0);
  const std::string mirrored = ui.txtMaxLabelX.text;
  ui.txtLYT.setText("0,5");
  std::setlocale(LC_ALL, "C");
  ASSERT_EQ(point, ",");
  EXPECT_EQ(std::pair(state.maxX, state.maxY), std::pair(0.125f, 2.5f));
  EXPECT_EQ(mirrored, "0.125");
  EXPECT_EQ(std::pair(right.x, right.y), std::pair(0.125f, 2.5f));
  EXPECT_TRUE(state.valueFieldInvalid.txtLYT);
}

TEST_F(CalibrationFields, GridAndFootprintFields) {
  ui.txtGrid.setText("2.5 px");
  EXPECT_EQ(form.app.gridStep, 2.5f);
  for (const auto& [text, twips] :
       {std::pair{"7.5", 112}, {"-3", 0}, {"abc", 0}, {"1e9", 32767 * 15}}) {
    ui.txtPicUpRange.setText(text);
    ui.txtErs.setText(text);
    for (const ShapeControl* shape : {&ui.shapPicUpRange, &ui.shapEraseRange})
      EXPECT_EQ(std::pair(shape->geometry.width, shape->geometry.height), std::pair(twips, twips))
          << text;
  }
}

TEST(SnapToGrid, Table) {
  // onGrid, pitch, zoom, offset, d, extent -> position
  const std::tuple<std::int16_t, float, float, int, int, float, float> cases[] = {
      {1, 10, 2, 0, 31, 1000, 20},    {1, 10, 2, 0, 29, 1000, 10},   {0, 10, 2, 0, 31, 1000, 15.5f},
      {0, 10, 2, 0, 29, 1000, 14.5f}, {1, 10, 2, 0, 50, 1000, 30},  // exactly half way rounds up
      {1, 10, 2, 100, 31, 1000, 70},  {1, 0.5f, 1, 0, 7, 1000, 7},   {1, 0.5f, 4, 0, 7, 1000, 2},
      {1, 10, 2, 0, 2000, 640, 640},  {0, 10, 2, 0, 2000, 640, 640}, {1, 10, 2, 0, -31, 640, 0},
      {0, 10, 2, 0, -1, 640, 0},      {1, 0, 2, 0, 31, 1000, 15.5f},  // no pitch: unsnapped
      {1, -5, 2, 0, 31, 1000, 15.5f}, {1, 10, 0, 0, 31, 1000, 0},     // no picture
      {1, 3, 1, 0, 640, 640, 639},    {1, 3, 1, 0, 641, 640, 640}};   // 642 lies past the edge
  for (const auto& [onGrid, step, zoom, offset, d, extent, expected] : cases)
    EXPECT_EQ(snapToGrid({onGrid, step, zoom}, offset, d, extent), expected)
        << onGrid << " " << step << " " << zoom << " at " << offset << "+" << d;
}

TEST(CalibrationStartUp, StartUpRunsTheFieldHandling) {
  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  platform.setEnvironment("LANG", "en_US.UTF-8");
  Form1 form{platform};
  formLoad(form);
  const Form1Controls& ui = form.ui;
  EXPECT_EQ(std::pair(form.state.maxX, form.state.maxY), std::pair(1.0f, 1.0f));
  EXPECT_EQ(ui.txtLXS.text + ui.txtLXE.text + ui.txtLYT.text + ui.txtLYB.text, "0110");
  EXPECT_EQ(ui.txtLYB.geometry.width, 6 * kTwipsPerPixel);
  EXPECT_EQ(ui.txtStpX.text, "0.005");
}

}  // namespace
}  // namespace plotvane
