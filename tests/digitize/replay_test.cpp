// A recorded session on the bundled scatter chart, replayed through the core
// without a display: the rectangle dragged onto two ticks of each axis, the
// scale typed, marks picked with Plot 1 Point (one by the arrow keys and
// Enter), two points clicked by hand, and the list saved. The file must be
// the committed one, byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <initializer_list>
#include <string>

#include "digitize/graph_type.h"
#include "digitize/picture_input.h"
#include "sample_charts.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

// A pointer or key event as the window forwarded it (display pixels at zoom 1).
struct Step {
  char op;  // p: press, m: move, d: move with the left button held, r: release, k: key x
  float x, y = 0;
};

void play(Form1& form, std::initializer_list<Step> steps) {
  for (const Step& s : steps) {
    const PointerButton button = s.op == 'm' ? PointerButton::None : PointerButton::Left;
    const PointerEvent event{.button = button, .x = s.x, .y = s.y};
    if (s.op == 'p') picture1MouseDown(form, event);
    if (s.op == 'm' || s.op == 'd') picture1MouseMove(form, event);
    if (s.op == 'r') picture1MouseUp(form, event);
    if (s.op == 'k') picture1KeyDown(form, static_cast<int>(s.x));
  }
}

TEST(Replay, ARecordedSessionSavesTheCommittedFile) {
  const char* folder = std::getenv("PLOTVANE_TEST_DATA");
  const std::string expected =
      testing::readAll(std::string(folder ? folder : "testdata") + "/replay/scatter_session.csv");
  ASSERT_FALSE(expected.empty());
  testing::PictureForm f;
  ASSERT_TRUE(f.load("scatter.bmp", scatterChart()));
  ASSERT_EQ(f.app.zoom, 1);
  const auto choose = [&](GraphType type) {
    f.ui.cmbGraphType.selected = type;
    cmbGraphTypeClick(f.form);
  };
  // clang-format off
  // A new rectangle from the tick at (64, 48) to the one at (576, 432).
  play(f.form, {{'p', 64, 48}, {'d', 66, 50}, {'d', 70, 55}, {'d', 200, 160}, {'d', 575, 431},
                {'d', 576, 432}, {'r', 576, 432}});
  f.ui.txtMinLabelX.setText("0.1");
  f.ui.txtMaxLabelX.setText("0.9");
  f.ui.txtMinLabelY.setText("0.1");
  f.ui.txtMaxLabelY.setText("0.9");
  // Three marks picked under the square, the last one reached with the arrow keys and Enter.
  choose(kPlotOnePoint);
  play(f.form, {{'m', 300, 300}, {'m', 75, 346}, {'p', 75, 346}, {'r', 75, 346}, {'m', 224, 322},
                {'p', 224, 322}, {'r', 224, 322}, {'m', 434, 141}, {'k', kKeyRight},
                {'k', kKeyRight}, {'k', kKeyRight}, {'k', kKeyDown}, {'k', kKeyDown},
                {'k', kKeyEnter}});
  // Two points by hand, one after a slip of 3 pixels, the pointer having left
  // the picture over the viewport on the way to the settings pane.
  picture3MouseMove(f.form);
  choose(kManualPlotting);
  play(f.form, {{'m', 320, 240}, {'p', 320, 240}, {'r', 320, 240}, {'p', 500, 100},
                {'d', 502, 101}, {'d', 503, 102}, {'r', 503, 102}});
  // clang-format on
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);  // the rectangle's drag

  const std::string saved = f.folder.file("session.csv");
  f.platform.queueSaveFile(SaveDialogChoice{saved, 1});
  menuClick(f.form, MenuId::mnuDataSave);
  EXPECT_EQ(testing::readAll(saved), expected);
}

}  // namespace
}  // namespace plotvane
