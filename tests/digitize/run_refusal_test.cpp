// Execute refuses a count or a pitch that its field's check refuses, with one
// message and the list kept; a run disables what it would refuse.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/data_list.h"
#include "digitize/graph_type.h"
#include "digitize/run_control.h"
#include "shell/form1_events.h"
#include "support/picture_form.h"

namespace plotvane {
namespace {

using testing::PictureForm;

// A white picture with a black horizontal line at row 10.
PixelArray lineChart(int width, int height) {
  PixelArray picture(width, height, 0xFFFFFF);
  for (int x = 0; x < width; ++x) picture.set(x, 10, 0);
  return picture;
}

class RunRefusal : public ::testing::Test {
 protected:
  RunRefusal() { EXPECT_TRUE(f.load(f.folder.file("chart.bmp"), lineChart(40, 30))); }

  // Two points in the list, so that a refused Execute can be seen to keep it.
  void fillList() {
    ASSERT_EQ(appendDataPoint(f.form, 1, 2, 3, 4), AddResult::Added);
    ASSERT_EQ(appendDataPoint(f.form, 5, 6, 7, 8), AddResult::Added);
  }

  std::string firstMessage() const {
    return f.platform.messages().empty() ? std::string() : f.platform.messages()[0].text;
  }

  PictureForm f;
};

TEST_F(RunRefusal, ACountOrPitchItsCheckRefusesRefusesTheRunWithOneMessage) {
  using enum Message;
  enum Focus { kNone, kCount, kPitch };  // the field being edited when Execute is chosen
  struct Case {
    const char* count;
    const char* pitch;
    Focus focus;
    Message refusal;
  };
  // The X range is 0 to 1: a pitch of 0.00001 makes 100 000 divisions.
  const Case cases[] = {
      {.count = "200", .pitch = "abc", .focus = kPitch, .refusal = ZeroNotAllowed},
      {.count = "200", .pitch = "abc", .focus = kNone, .refusal = ZeroNotAllowed},
      {.count = "200", .pitch = "0.00001", .focus = kNone, .refusal = CountOutOfRange},
      {.count = "200", .pitch = "0.00001", .focus = kPitch, .refusal = CountOutOfRange},
      {.count = "200", .pitch = "-0.5", .focus = kNone, .refusal = WholeNumberRequired},
      {.count = "0", .pitch = "0.005", .focus = kCount, .refusal = WholeNumberRequired},
      {.count = "40000", .pitch = "0.005", .focus = kCount, .refusal = CountOutOfRange},
      {.count = "0", .pitch = "abc", .focus = kNone, .refusal = WholeNumberRequired},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.count) + " " + c.pitch + " focus " + std::to_string(c.focus));
    removeAllPoints(f.form);
    fillList();
    f.platform.clearMessages();
    f.ui.TabStrip1.selected = 1;
    f.ui.txtSmpX.text = c.count;
    f.ui.txtStpX.text = c.pitch;
    f.ui.focused = c.focus == kCount ? &f.ui.txtSmpX : c.focus == kPitch ? &f.ui.txtStpX : nullptr;
    menuClick(f.form, MenuId::mnuExeStart);
    EXPECT_EQ(f.platform.messages().size(), 1u);
    EXPECT_EQ(firstMessage(), f.form.message(c.refusal));
    EXPECT_EQ(f.app.pointCount, 2);
    EXPECT_EQ(f.ui.ListView1.rows.size(), 2u);
    EXPECT_EQ(f.ui.TabStrip1.selected, 1);
    EXPECT_EQ(f.ui.txtSmpX.text, c.count);
    EXPECT_EQ(f.ui.txtStpX.text, c.pitch);
    EXPECT_TRUE(f.ui.menu(MenuId::mnuExeStart).enabled);
  }
  EXPECT_TRUE(f.platform.openedDocuments().empty());
}

TEST_F(RunRefusal, APitchBeingEditedIsCheckedAndTheRunUsesTheCountItGives) {
  f.ui.txtStpX.text = "0.25";
  f.ui.focused = &f.ui.txtStpX;
  menuClick(f.form, MenuId::mnuExeStart);
  EXPECT_TRUE(f.platform.messages().empty());
  EXPECT_EQ(f.ui.txtSmpX.text, "4");
  ASSERT_EQ(f.app.pointCount, 5);
  EXPECT_EQ(f.ui.ListView1.rows[4].cells[1], "1");  // the last column at the right end
}

TEST_F(RunRefusal, ARunDisablesOpenRestoreSaveAndTheFilePaneUntilItEnds) {
  // What the run takes away, and whether it is there afterwards.
  const auto states = [this] {
    return std::vector<bool>{f.ui.menu(MenuId::mnuFileOpen).enabled,
                             f.ui.menu(MenuId::mnuFileRedraw).enabled,
                             f.ui.menu(MenuId::mnuDataSave).enabled,
                             f.ui.cmdSaveData.enabled,
                             f.ui.Drive1.enabled,
                             f.ui.Dir1.enabled,
                             f.ui.File1.enabled};
  };
  const std::vector<bool> none(7, false);
  struct Case {
    const char* name;
    int cancelAtYield;  // 0: never
    std::vector<bool> after;
  };
  // 250 divisions: the scan pass yields at the 126 even columns, the points
  // pass at columns 0, 100 and 200, having appended the points before each.
  const Case cases[] = {
      {.name = "completed", .cancelAtYield = 0, .after = std::vector<bool>(7, true)},
      {.name = "cancelled before any point",
       .cancelAtYield = 5,
       .after = {true, true, false, false, true, true, true}},
      {.name = "cancelled with points", .cancelAtYield = 128, .after = std::vector<bool>(7, true)},
  };
  f.ui.txtSmpX.setText("250");
  txtSmpXLostFocus(f.form);
  ASSERT_EQ(f.ui.txtStpX.text, "0.004");
  fillList();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int yields = 0;
    std::vector<std::vector<bool>> during;
    f.platform.setYieldHook([&] {
      during.push_back(states());
      if (++yields == c.cancelAtYield) menuClick(f.form, MenuId::mnuExeCancel);
    });
    menuClick(f.form, MenuId::mnuExeStart);
    ASSERT_GT(during.size(), 4u);
    for (const std::vector<bool>& state : during) EXPECT_EQ(state, none);
    EXPECT_EQ(states(), c.after);
  }
  f.platform.setYieldHook({});
  EXPECT_TRUE(f.platform.messages().empty());
}

}  // namespace
}  // namespace plotvane
