#include "digitize/calibration.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/form1_events.h"
#include "app/handler_boundary.h"
#include "app/language.h"
#include "app/number_text.h"
#include "platform/headless_platform.h"
#include "support/temp_dir.h"

namespace plotvane {
namespace {

// A form with the calibration handling installed and the start-up texts of
// the scale fields, without the rest of start-up.
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

  // What the window does for each keystroke: the whole new text arrives.
  void type(Control& field, const std::vector<std::string>& keystrokes) {
    for (const std::string& text : keystrokes) field.setText(text);
  }

  HeadlessPlatform platform;
  Form1 form{platform};
  Form1Controls& ui = form.ui;
  FormState& state = form.state;
};

TEST(PixelToData, ConvertsLinearlyWithReversedAxesAndExtrapolation) {
  struct Case {
    float x0, x1, y0, y1;
    float px, py;
    DataValue expected;
  };
  const Case cases[] = {
      {0, 10, 0, 100, 200, 150, {5, 50}},
      {0, 10, 0, 100, 100, 250, {0, 0}},
      {0, 10, 0, 100, 300, 50, {10, 100}},
      {0, 10, 0, 100, 400, 350, {15, -50}},  // beyond the rectangle
      {0, 10, 0, 100, 0, 0, {-5, 125}},
      {10, 0, 100, 0, 150, 100, {7.5f, 25}},  // minimum above maximum reverses
      {-1, 1, 5, 5, 250, 200, {0.5f, 5}},
  };
  for (const Case& c : cases) {
    const Calibration calibration{100, 300, 50, 250, c.x0, c.x1, c.y0, c.y1};
    const auto result = pixelToData(calibration, c.px, c.py);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->x, c.expected.x) << c.px << ", " << c.py;
    EXPECT_EQ(result->y, c.expected.y) << c.px << ", " << c.py;
  }
}

TEST(PixelToData, ComputesInDoubleAndStoresSingle) {
  // Single-precision arithmetic gives -185.307037 here.
  const Calibration c{92.3385925f, 489.919312f, 0, 1, -313.739807f, -112.089233f, 0, 1};
  const auto result = pixelToData(c, 345.56073f, 0);
  ASSERT_TRUE(result.has_value());
  EXPECT_EQ(result->x, -185.307053f);
}

TEST(PixelToData, RectangleWithoutWidthOrHeightGivesNoResult) {
  const Calibration noWidth{100, 100, 50, 250, 0, 10, 0, 100};
  const Calibration noHeight{100, 300, 50, 50, 0, 10, 0, 100};
  const Calibration inverted{300, 100, 50, 250, 0, 10, 0, 100};
  for (const Calibration& c : {noWidth, noHeight, inverted})
    EXPECT_FALSE(pixelToData(c, 150, 100).has_value());
}

TEST(PixelToData, ResultBeyondSingleRangeIsAnOverflow) {
  const Calibration c{0, 1, 0, 1, -3e38f, 3e38f, 0, 1};
  EXPECT_EQ(pixelToData(c, 0.5f, 0.5f)->x, 0);
  EXPECT_THROW(pixelToData(c, 2, 0.5f), OverflowError);
  const Calibration tall{0, 1, 0, 1, 0, 1, -3e38f, 3e38f};
  EXPECT_THROW(pixelToData(tall, 0.5f, -1), OverflowError);
}

TEST(ToSingle, RangeEdges) {
  EXPECT_EQ(toSingle(3.4028234663852886e38), 3.4028234663852886e38);
  EXPECT_EQ(toSingle(0x1.fffffefffffffp+127), 0x1.fffffep+127);  // rounds down to the largest
  EXPECT_THROW(toSingle(0x1.ffffffp+127), OverflowError);        // the tie rounds up
  EXPECT_THROW(toSingle(-1e39), OverflowError);
  EXPECT_THROW(toSingle(std::numeric_limits<double>::infinity()), OverflowError);
  EXPECT_EQ(toSingle(1e-50), 0);
}

TEST_F(CalibrationFields, PixelToDataReadsTheScaleTextsAtEveryCall) {
  form.app.lineXS = 100;
  form.app.lineXE = 300;
  form.app.lineYT = 50;
  form.app.lineYB = 250;
  ui.txtMaxLabelX.setText("10");
  ui.txtMaxLabelY.setText("100");
  DataValue value = PixelToData(form, 200, 150);
  EXPECT_EQ(value.x, 5);
  EXPECT_EQ(value.y, 50);

  // Written without running any handling: minX and maxX are not what is read.
  ui.txtMaxLabelX.text = "20 units";
  ui.txtMinLabelY.text = "abc";
  ui.txtMaxLabelY.text = " 2 0 0";
  value = PixelToData(form, 200, 150);
  EXPECT_EQ(value.x, 10);
  EXPECT_EQ(value.y, 100);

  form.app.lineXE = form.app.lineXS;
  value = PixelToData(form, 200, 150);
  EXPECT_EQ(value.x, 0);
  EXPECT_EQ(value.y, 0);

  ui.txtMaxLabelX.text = "1e39";
  form.app.lineXE = 300;
  EXPECT_THROW(PixelToData(form, 200, 150), OverflowError);
}

TEST_F(CalibrationFields, ScaleFieldsMirrorIntoValueFieldsAndBack) {
  struct Pair {
    Control& scaleField;
    Control& valueField;
    float& value;
  };
  const Pair pairs[] = {{ui.txtMinLabelX, ui.txtLXS, state.minX},
                        {ui.txtMaxLabelX, ui.txtLXE, state.maxX},
                        {ui.txtMinLabelY, ui.txtLYB, state.minY},
                        {ui.txtMaxLabelY, ui.txtLYT, state.maxY}};
  for (const Pair& pair : pairs) {
    SCOPED_TRACE(pair.scaleField.name);
    pair.scaleField.setText("2.50");
    EXPECT_EQ(pair.value, 2.5f);
    EXPECT_EQ(pair.valueField.text, "2.5");
    EXPECT_EQ(pair.scaleField.text, "2.50");  // the typed text stays
    EXPECT_EQ(pair.valueField.geometry.width, 3 * 6 * kTwipsPerPixel);

    pair.valueField.setText("-7.25");
    EXPECT_EQ(pair.value, -7.25f);
    EXPECT_EQ(pair.scaleField.text, "-7.25");
    EXPECT_EQ(pair.valueField.geometry.width, 5 * 6 * kTwipsPerPixel);

    pair.scaleField.setText("1E3 apples");
    EXPECT_EQ(pair.value, 1000);
    EXPECT_EQ(pair.valueField.text, "1000");
  }
  // Each pair kept to itself.
  EXPECT_EQ(state.minX, 1000);
  EXPECT_EQ(ui.txtLYT.text, "1000");
}

TEST_F(CalibrationFields, XScaleFieldsSetThePitch) {
  ui.txtMaxLabelX.setText("10");
  ui.txtMinLabelX.setText("2");
  EXPECT_EQ(ui.txtStpX.text, "0.04");
  EXPECT_EQ(ui.txtLXS.text, "2");
  EXPECT_EQ(state.minX, 2);

  // Typing 12.5 (four characters) into the on-picture field of the right edge.
  ui.txtLXE.setText("12.5");
  EXPECT_EQ(state.maxX, 12.5f);
  EXPECT_EQ(ui.txtMaxLabelX.text, "12.5");
  EXPECT_EQ(ui.txtLXE.geometry.width / kTwipsPerPixel, 24);
  EXPECT_EQ(ui.txtStpX.text, "0.0525");

  // The pitch is the double quotient of the single values, 15 digits.
  ui.txtMinLabelX.setText("0.1");
  EXPECT_EQ(ui.txtStpX.text, "0.0619999999925494");

  // The Y fields leave the pitch alone.
  ui.txtMaxLabelY.setText("50");
  EXPECT_EQ(ui.txtStpX.text, "0.0619999999925494");
}

TEST_F(CalibrationFields, DivisionCountZeroStillSetsValuesAndMirrors) {
  form.app.lineXS = 0;
  form.app.lineXE = 100;
  form.app.lineYT = 0;
  form.app.lineYB = 100;
  ui.txtSmpX.text = "0";
  ui.txtMinLabelX.setText("3");
  ui.txtMaxLabelX.setText("13");
  EXPECT_EQ(state.minX, 3);
  EXPECT_EQ(state.maxX, 13);
  EXPECT_EQ(ui.txtLXS.text, "3");
  EXPECT_EQ(ui.txtLXE.text, "13");
  EXPECT_EQ(ui.txtStpX.text, "0.005");
  // The labels and the conversion agree.
  EXPECT_EQ(PixelToData(form, 0, 0).x, state.minX);
  EXPECT_EQ(PixelToData(form, 100, 0).x, state.maxX);

  ui.txtLXE.setText("23");
  EXPECT_EQ(state.maxX, 23);
  EXPECT_EQ(ui.txtMaxLabelX.text, "23");
  EXPECT_EQ(ui.txtStpX.text, "0.005");
}

TEST_F(CalibrationFields, TypingIsNeverOverwrittenByTheMirror) {
  struct Case {
    const char* what;
    Control& field;
    std::vector<std::string> keystrokes;
    Control& mirror;
    float& value;
    std::string mirrorText;
    float expected;
  };
  const Case cases[] = {
      // "1" selected, ".5" typed: "." reads 0, and that 0 must not replace it.
      {"point first", ui.txtMaxLabelX, {".", ".5"}, ui.txtLXE, state.maxX, "0.5", 0.5f},
      // "-10" selected, "-20" typed.
      {"sign first", ui.txtMinLabelX, {"-", "-2", "-20"}, ui.txtLXS, state.minX, "-20", -20},
      {"trailing point", ui.txtMaxLabelY, {"1", "10", "10."}, ui.txtLYT, state.maxY, "10", 10},
      {"value field",
       ui.txtLYB,
       {"-", "-.", "-.2", "-.25"},
       ui.txtMinLabelY,
       state.minY,
       "-0.25",
       -0.25f},
      {"value field point", ui.txtLXE, {"1", "1."}, ui.txtMaxLabelX, state.maxX, "1", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.field.setText("-10");
    type(c.field, c.keystrokes);
    EXPECT_EQ(c.field.text, c.keystrokes.back());
    EXPECT_EQ(c.mirror.text, c.mirrorText);
    EXPECT_EQ(c.value, c.expected);
  }
}

TEST_F(CalibrationFields, RoundTripStopsAfterOneStep) {
  int scaleRuns = 0, valueRuns = 0;
  auto countRuns = [](Control& field, int& runs) {
    field.onChange = [inner = field.onChange, &runs] {
      ++runs;
      inner();
    };
  };
  countRuns(ui.txtMaxLabelX, scaleRuns);
  countRuns(ui.txtLXE, valueRuns);

  ui.txtMaxLabelX.setText("5");
  EXPECT_EQ(scaleRuns, 1);
  EXPECT_EQ(valueRuns, 1);

  ui.txtMaxLabelX.setText("5.");  // the mirror already holds "5"
  EXPECT_EQ(scaleRuns, 2);
  EXPECT_EQ(valueRuns, 1);

  ui.txtLXE.setText("6");
  EXPECT_EQ(valueRuns, 2);
  EXPECT_EQ(scaleRuns, 3);
  EXPECT_EQ(ui.txtLXE.text, "6");
}

TEST_F(CalibrationFields, ValueFieldThatDoesNotConvertKeepsTheValue) {
  ui.txtMinLabelY.setText("4");
  for (const char* text : {"", "-", ".", "1,5", "abc", "4 4", "1e39", "12x"}) {
    SCOPED_TRACE(text);
    ui.txtLYB.setText(text);
    EXPECT_EQ(state.minY, 4);
    EXPECT_EQ(ui.txtMinLabelY.text, "4");
    EXPECT_TRUE(state.valueFieldInvalid.txtLYB);
    EXPECT_TRUE(valueFieldInvalid(form, ui.txtLYB));
    EXPECT_FALSE(valueFieldInvalid(form, ui.txtLYT));
  }
  // Converting text clears the mark.
  ui.txtLYB.setText("&H10");
  EXPECT_FALSE(state.valueFieldInvalid.txtLYB);
  EXPECT_EQ(state.minY, 16);
  EXPECT_EQ(ui.txtMinLabelY.text, "16");

  // So does the program writing the field.
  ui.txtLXS.setText("x");
  EXPECT_TRUE(valueFieldInvalid(form, ui.txtLXS));
  ui.txtMinLabelX.setText("7");
  EXPECT_FALSE(valueFieldInvalid(form, ui.txtLXS));
  EXPECT_EQ(ui.txtLXS.text, "7");
  EXPECT_EQ(state.minX, 7);
}

TEST_F(CalibrationFields, ValueBeyondSingleRangeIsAnOverflowThatChangesNothing) {
  ui.txtMaxLabelX.setText("10");
  EXPECT_FALSE(runHandler(platform, [&] { ui.txtMaxLabelX.setText("1e39"); }));
  ASSERT_EQ(platform.messages().size(), 1u);
  EXPECT_EQ(platform.messages()[0].text, "Overflow");
  EXPECT_EQ(state.maxX, 10);
  EXPECT_EQ(ui.txtLXE.text, "10");

  // A division count so small that the pitch overflows.
  ui.txtSmpX.text = "1e-320";
  EXPECT_FALSE(runHandler(platform, [&] { ui.txtMaxLabelX.setText("20"); }));
  EXPECT_EQ(state.maxX, 10);
  EXPECT_EQ(ui.txtLXE.text, "10");
  EXPECT_EQ(ui.txtStpX.text, "0.05");
}

// The user's locale writes decimals with a comma; the program reads "." all
// the same. Builds a German locale when none is installed.
bool switchToDecimalCommaLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"})
    if (std::setlocale(LC_ALL, name)) return true;
  const std::string dir =
      (std::filesystem::temp_directory_path() / "plotvane-calibration-locale").string();
  std::error_code ignored;
  std::filesystem::create_directories(dir, ignored);
  const std::string command =
      "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
  if (std::system(command.c_str()) != 0 && !std::filesystem::exists(dir + "/de_DE.UTF-8"))
    return false;
  setenv("LOCPATH", dir.c_str(), 1);
  return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
}

TEST_F(CalibrationFields, DecimalPointIsReadWhateverTheLocale) {
  if (!switchToDecimalCommaLocale()) GTEST_SKIP() << "no locale with a decimal comma";
  const std::string point = std::localeconv()->decimal_point;
  form.app.lineXS = 0;
  form.app.lineXE = 100;
  form.app.lineYT = 0;
  form.app.lineYB = 100;
  ui.txtLXE.setText("0.125");
  ui.txtMaxLabelY.setText("2.5");
  const DataValue right = PixelToData(form, 100, 0);
  const float maxX = state.maxX, maxY = state.maxY;
  const std::string mirrored = ui.txtMaxLabelX.text;
  ui.txtLYT.setText("0,5");
  const bool commaRejected = state.valueFieldInvalid.txtLYT;
  std::setlocale(LC_ALL, "C");

  ASSERT_EQ(point, ",");
  EXPECT_EQ(maxX, 0.125f);
  EXPECT_EQ(mirrored, "0.125");
  EXPECT_EQ(maxY, 2.5f);
  EXPECT_EQ(right.x, 0.125f);
  EXPECT_EQ(right.y, 2.5f);
  EXPECT_TRUE(commaRejected);
}

TEST_F(CalibrationFields, GridAndFootprintFields) {
  ui.txtGrid.setText("10");
  EXPECT_EQ(form.app.gridStep, 10);
  ui.txtGrid.setText("2.5 px");
  EXPECT_EQ(form.app.gridStep, 2.5f);
  ui.chkOnGrid.value = 0;
  ui.chkOnGrid.onChange();
  EXPECT_EQ(form.app.onGrid, 0);
  ui.chkOnGrid.value = 1;
  ui.chkOnGrid.onChange();
  EXPECT_EQ(form.app.onGrid, 1);

  // Sized from the creation texts "10" and "5" before any change.
  EXPECT_EQ(ui.shapPicUpRange.geometry.width, 10 * kTwipsPerPixel);
  EXPECT_EQ(ui.shapEraseRange.geometry.height, 5 * kTwipsPerPixel);
  const struct {
    const char* text;
    int twips;
  } sides[] = {{"12", 180}, {"7.5", 112}, {"-3", 0}, {"abc", 0}, {"1e9", 32767 * 15}};
  for (const auto& side : sides) {
    SCOPED_TRACE(side.text);
    ui.txtPicUpRange.setText(side.text);
    ui.txtErs.setText(side.text);
    for (const ShapeControl* shape : {&ui.shapPicUpRange, &ui.shapEraseRange}) {
      EXPECT_EQ(shape->geometry.width, side.twips);
      EXPECT_EQ(shape->geometry.height, side.twips);
    }
  }
  EXPECT_FALSE(ui.shapPicUpRange.visible);
}

TEST(SnapToGrid, Table) {
  struct Case {
    std::int16_t onGrid;
    float step, zoom;
    int offset, d;
    float extent, expected;
  };
  const Case cases[] = {
      {1, 10, 2, 0, 31, 1000, 20},    {1, 10, 2, 0, 29, 1000, 10},
      {0, 10, 2, 0, 31, 1000, 15.5f}, {0, 10, 2, 0, 29, 1000, 14.5f},
      {1, 10, 2, 0, 50, 1000, 30},  // exactly half way rounds up
      {1, 10, 2, 0, 30, 1000, 20},    {1, 10, 2, 100, 31, 1000, 70},
      {1, 0.5f, 1, 0, 7, 1000, 7},    {1, 0.5f, 4, 0, 7, 1000, 2},
      {1, 10, 2, 0, 2000, 640, 640},  {0, 10, 2, 0, 2000, 640, 640},
      {1, 10, 2, 0, -31, 640, 0},     {0, 10, 2, 0, -1, 640, 0},
      {1, 0, 2, 0, 31, 1000, 15.5f},                                // no pitch: unsnapped
      {1, -5, 2, 0, 31, 1000, 15.5f}, {1, 10, 0, 0, 31, 1000, 0},   // no picture
      {1, 3, 1, 0, 640, 640, 639},    {1, 3, 1, 0, 641, 640, 640},  // 642 lies past the edge
  };
  for (const Case& c : cases) {
    EXPECT_EQ(snapToGrid({c.onGrid, c.step, c.zoom}, c.offset, c.d, c.extent), c.expected)
        << "onGrid " << c.onGrid << " step " << c.step << " zoom " << c.zoom << " at " << c.offset
        << "+" << c.d;
  }
}

TEST(CalibrationStartUp, StartUpRunsTheFieldHandling) {
  testing::TempWorkingDir dir;
  HeadlessPlatform platform;
  platform.setEnvironment("LANG", "en_US.UTF-8");
  Form1 form{platform};
  formLoad(form);
  const Form1Controls& ui = form.ui;
  EXPECT_EQ(form.state.maxX, 1);
  EXPECT_EQ(form.state.maxY, 1);
  const struct {
    const Control& field;
    const char* text;
  } fields[] = {{ui.txtLXS, "0"}, {ui.txtLXE, "1"}, {ui.txtLYT, "1"}, {ui.txtLYB, "0"}};
  for (const auto& field : fields) {
    EXPECT_EQ(field.field.text, field.text) << field.field.name;
    EXPECT_EQ(field.field.geometry.width, 6 * kTwipsPerPixel) << field.field.name;
  }
  EXPECT_EQ(ui.txtStpX.text, "0.005");
  EXPECT_EQ(form.app.gridStep, 0.5f);
}

}  // namespace
}  // namespace plotvane
