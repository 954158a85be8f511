// A recorded session on the bundled scatter chart, replayed through the core
// without a display: the rectangle dragged onto two ticks of each axis, the
// scale typed, marks picked with Plot 1 Point (one by the arrow keys and
// Enter), two points clicked by hand, and the list saved. The file must be
// the committed one, byte for byte.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "digitize/graph_type.h"
#include "digitize/picture_input.h"
#include "sample_charts.h"
#include "shell/form1_events.h"
#include "support/file_bytes.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

struct Press {
  float x, y;
};
struct Move {
  float x, y;
  bool leftHeld;
};
struct Release {
  float x, y;
};
struct Key {
  int code;
};
struct Type {
  Control Form1Controls::*field;
  const char* text;
};
struct ChooseType {
  GraphType type;
};
struct LeavePicture {};  // over the viewport, on the way to the settings pane
using Gesture = std::variant<Press, Move, Release, Key, Type, ChooseType, LeavePicture>;

// The recording, as the window forwarded it (display pixels at zoom 1).
const std::vector<Gesture> kSession = {
    // A new rectangle from the tick at (64, 48) to the one at (576, 432).
    Press{64, 48}, Move{66, 50, true}, Move{70, 55, true}, Move{200, 160, true},
    Move{575, 431, true}, Move{576, 432, true}, Release{576, 432},
    Type{&Form1Controls::txtMinLabelX, "0.1"}, Type{&Form1Controls::txtMaxLabelX, "0.9"},
    Type{&Form1Controls::txtMinLabelY, "0.1"}, Type{&Form1Controls::txtMaxLabelY, "0.9"},
    // Three marks picked under the square.
    ChooseType{kPlotOnePoint}, Move{300, 300, false}, Move{75, 346, false}, Press{75, 346},
    Release{75, 346}, Move{224, 322, false}, Press{224, 322}, Release{224, 322},
    // The last one reached with the arrow keys and Enter.
    Move{434, 141, false}, Key{kKeyRight}, Key{kKeyRight}, Key{kKeyRight}, Key{kKeyDown},
    Key{kKeyDown}, Key{kKeyEnter},
    // Two points by hand, one after a slip of 3 pixels.
    LeavePicture{}, ChooseType{kManualPlotting}, Move{320, 240, false}, Press{320, 240},
    Release{320, 240}, Press{500, 100}, Move{502, 101, true}, Move{503, 102, true},
    Release{503, 102}};

void replay(testing::PictureForm& f, const Gesture& gesture) {
  Form1& form = f.form;
  if (const auto* g = std::get_if<Press>(&gesture))
    picture1MouseDown(form, {.button = PointerButton::Left, .x = g->x, .y = g->y});
  if (const auto* g = std::get_if<Move>(&gesture))
    picture1MouseMove(
        form,
        {.button = g->leftHeld ? PointerButton::Left : PointerButton::None, .x = g->x, .y = g->y});
  if (const auto* g = std::get_if<Release>(&gesture))
    picture1MouseUp(form, {.button = PointerButton::Left, .x = g->x, .y = g->y});
  if (const auto* g = std::get_if<Key>(&gesture)) picture1KeyDown(form, g->code);
  if (const auto* g = std::get_if<Type>(&gesture)) (f.ui.*(g->field)).setText(g->text);
  if (std::holds_alternative<LeavePicture>(gesture)) picture3MouseMove(form);
  if (const auto* g = std::get_if<ChooseType>(&gesture)) {
    f.ui.cmbGraphType.selected = g->type;
    cmbGraphTypeClick(form);
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
  for (const Gesture& gesture : kSession) replay(f, gesture);
  EXPECT_EQ(f.app.undoRing->undoCount(), 1);  // the rectangle's drag

  const std::string saved = f.folder.file("session.csv");
  f.platform.queueSaveFile(SaveDialogChoice{saved, 1});
  menuClick(f.form, MenuId::mnuDataSave);
  EXPECT_EQ(testing::readAll(saved), expected);
}

}  // namespace
}  // namespace plotvane
