// Plain-data models of the window's controls. Handlers read and change these;
// the Qt layer mirrors them into real widgets and forwards user input back.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace plotvane {

// Positions and sizes in twips (15 per screen pixel).
struct Geometry {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Geometry&) const = default;
};

inline constexpr int kTwipsPerPixel = 15;

// The mouse pointer over a control: the platform's standard shapes and the
// program's own eraser.
enum class PointerShape { Arrow, Cross, SizeWE, SizeNS, SizeNWSE, SizeNESW, Eraser };

struct Control {
  explicit Control(std::string controlName = {}) : name(std::move(controlName)) {}

  std::string name;
  std::string text;  // a field's text, or a caption
  // What assistive tools announce for a control that has no caption or
  // label of its own; empty for the others.
  std::string accessibleName;
  bool enabled = true;
  bool visible = true;
  int value = 0;  // check box 0/1, menu checked 0/1, pressed button 0/1, scroll value
  Geometry geometry;
  PointerShape pointer = PointerShape::Arrow;

  // Runs whenever the text changes through setText, as a field's Change
  // event does; writing the same text again runs nothing.
  std::function<void()> onChange;

  // Runs when the field loses the keyboard focus to another control of the
  // window (not to a pop-up or a message box).
  std::function<void()> onLostFocus;

  void setText(std::string newText) {
    if (newText == text) return;
    text = std::move(newText);
    if (onChange) onChange();
  }
};

// A combo box: its list and the selected item (1-based, 0 for none); editable
// combos also use the inherited text.
struct ComboControl : Control {
  using Control::Control;
  std::vector<std::string> items;
  int selected = 0;
};

struct ScrollBarControl : Control {
  using Control::Control;
  int minimum = 0;
  int maximum = 0;
  int smallChange = 1;
  int largeChange = 1;
};

// A slider: its value (from minimum to maximum) moves by smallChange with
// the arrow keys and by largeChange with the page keys; a tick every
// tickFrequency.
struct SliderControl : Control {
  using Control::Control;
  int minimum = 0;
  int maximum = 10;
  int smallChange = 1;
  int largeChange = 5;
  int tickFrequency = 1;
};

struct ProgressBarControl : Control {
  using Control::Control;
  int minimum = 0;
  int maximum = 100;
};

struct ListColumn {
  std::string text;
  int widthTwips = 0;
};

struct ListRow {
  std::vector<std::string> cells;
  bool selected = false;
};

struct ListViewControl : Control {
  using Control::Control;
  std::vector<ListColumn> columns;
  std::vector<ListRow> rows;
  // Whoever removes rows counts it here; appending does not count, so the
  // window inserts appended rows and rebuilds only after a removal.
  unsigned long long removals = 0;
};

// A tab strip: tab captions and the selected tab (1-based).
struct TabStripControl : Control {
  using Control::Control;
  std::vector<std::string> tabs;
  int selected = 1;
};

struct StatusBarControl : Control {
  using Control::Control;
  std::vector<std::string> panels;
};

}  // namespace plotvane
