#include "cli/cli.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <optional>
#include <sstream>

#include "app/form1.h"
#include "app/handler_boundary.h"
#include "base/number_text.h"
#include "data/data_export.h"
#include "digitize/graph_type.h"
#include "digitize/run_control.h"
#include "loading/load_picture.h"
#include "shell/form1_events.h"

namespace plotvane {
namespace {

constexpr const char* kVersion = "0.1.0";

// Nobody sees the command line's view: a small client area keeps the fitted
// zoom, and so the view's redraws, small. The results do not depend on it.
constexpr int kClientWidthTwips = 480 * kTwipsPerPixel;
constexpr int kClientHeightTwips = 360 * kTwipsPerPixel;

struct UsageError {
  std::string text;
};

struct Options {
  std::string picture;
  int type = 0;
  std::optional<std::array<double, 4>> rect;
  std::optional<std::array<std::string, 2>> x, y;
  std::optional<std::string> division, pitch;
  std::string filter = "1";
  char delimiter = ',';
  std::optional<std::string> output;
};

// Comma-separated numbers; each must be a whole number text.
template <std::size_t N>
std::array<double, N> numberList(const std::string& option, const std::string& text) {
  std::array<double, N> values{};
  std::size_t start = 0;
  for (std::size_t i = 0; i < N; ++i) {
    const std::size_t comma = text.find(',', start);
    const bool last = i + 1 == N;
    if (last != (comma == std::string::npos))
      throw UsageError{option + ": expected " + std::to_string(N) +
                       " numbers separated by commas, got '" + text + "'"};
    const std::string part = text.substr(start, last ? std::string::npos : comma - start);
    const std::optional<double> value = strictNumber(part);
    if (!value || !std::isfinite(*value))
      throw UsageError{option + ": '" + part + "' is not a number"};
    values[i] = *value;
    start = comma + 1;
  }
  return values;
}

std::array<std::string, 2> scalePair(const std::string& option, const std::string& text) {
  const auto values = numberList<2>(option, text);
  return {doubleText(values[0]), doubleText(values[1])};
}

Options parse(const std::vector<std::string>& arguments) {
  if (arguments.empty()) throw UsageError{"missing command (expected 'digitize')"};
  if (arguments[0] != "digitize") throw UsageError{"unknown command '" + arguments[0] + "'"};
  Options options;
  bool typeGiven = false;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&]() -> const std::string& {
      if (i + 1 >= arguments.size()) throw UsageError{argument + ": missing value"};
      return arguments[++i];
    };
    if (argument == "--type") {
      const std::string& type = value();
      if (type == "line")
        options.type = kTraceLine;
      else if (type == "points")
        options.type = kPlotAllPoints;
      else if (type == "surface")
        options.type = kTraceSurface;
      else
        throw UsageError{"--type: '" + type + "' is not line, points or surface"};
      typeGiven = true;
    } else if (argument == "--rect") {
      options.rect = numberList<4>(argument, value());
    } else if (argument == "--x") {
      options.x = scalePair(argument, value());
    } else if (argument == "--y") {
      options.y = scalePair(argument, value());
    } else if (argument == "--division") {
      options.division = value();
    } else if (argument == "--pitch") {
      options.pitch = value();
    } else if (argument == "--filter") {
      options.filter = value();
    } else if (argument == "--delimiter") {
      const std::string& delimiter = value();
      if (delimiter == "comma")
        options.delimiter = ',';
      else if (delimiter == "tab")
        options.delimiter = '\t';
      else if (delimiter == "space")
        options.delimiter = ' ';
      else
        throw UsageError{"--delimiter: '" + delimiter + "' is not comma, tab or space"};
    } else if (argument == "--output") {
      options.output = value();
    } else if (argument.starts_with("--")) {
      throw UsageError{"unknown option '" + argument + "'"};
    } else if (options.picture.empty()) {
      options.picture = argument;
    } else {
      throw UsageError{"unexpected argument '" + argument + "'"};
    }
  }
  if (options.picture.empty()) throw UsageError{"missing PICTURE"};
  if (!typeGiven) throw UsageError{"missing --type"};
  if (options.division && options.pitch)
    throw UsageError{"--division and --pitch: give one of them, not both"};
  return options;
}

// The messages the core showed since the last call, one per line.
bool reportMessages(HeadlessPlatform& platform, std::size_t& shown, std::ostream& err) {
  bool any = false;
  for (; shown < platform.messages().size(); ++shown) {
    err << platform.messages()[shown].text << '\n';
    any = true;
  }
  return any;
}

}  // namespace

std::string cliUsage() {
  return "Usage: plotvane-cli digitize PICTURE --type line|points|surface\n"
         "         [--rect XS,YT,XE,YB] [--x MIN,MAX] [--y MIN,MAX]\n"
         "         [--division N | --pitch P] [--filter F]\n"
         "         [--delimiter comma|tab|space] [--output FILE]\n"
         "       plotvane-cli --help | --version\n"
         "\n"
         "Digitizes a chart picture as the window does and writes the data file\n"
         "(header Data:X, Data:Y, Source:X, Source:Y; CR LF line ends) to FILE or\n"
         "to standard output.\n"
         "  --rect   reference rectangle in picture pixels (default: the whole picture)\n"
         "  --x      X values at the left and right edges (default 0,1)\n"
         "  --y      Y values at the bottom and top edges (default 0,1)\n"
         "  --division  number of divisions of the X range (default 200)\n"
         "  --pitch  X step between two divisions, instead of --division\n"
         "  --filter Y-filtering height, an odd number from 1 to 127 (default 1)\n";
}

int runCli(const std::vector<std::string>& arguments, HeadlessPlatform& platform, std::ostream& out,
           std::ostream& err) {
  if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
    out << cliUsage();
    return kCliOk;
  }
  if (arguments.size() == 1 && arguments[0] == "--version") {
    out << "plotvane-cli " << kVersion << '\n';
    return kCliOk;
  }
  Options options;
  try {
    options = parse(arguments);
  } catch (const UsageError& error) {
    err << "plotvane-cli: " << error.text << "\n\n" << cliUsage();
    return kCliUsage;
  }

  Form1 form(platform);
  Form1Controls& ui = form.ui;
  std::size_t shown = platform.messages().size();
  std::optional<int> exitCode;
  auto step = [&](auto&& handler) {
    if (exitCode) return;
    const bool ok = runHandler(form, handler);
    if (reportMessages(platform, shown, err) || !ok) exitCode = kCliFailed;
  };

  step([&] {
    formLoad(form, false);
    formResize(form, kClientWidthTwips, kClientHeightTwips);
  });
  step([&] { LoadPictureFile(form, options.picture); });
  if (exitCode) {
    // The window's message names no file and no reason; the command line
    // adds both.
    if (!form.state.pictureFailure.empty())
      err << "plotvane-cli: " << options.picture << ": " << form.state.pictureFailure << '\n';
    return *exitCode;
  }

  if (options.rect) {
    const auto [xs, yt, xe, yb] = *options.rect;
    const double width = form.state.Picture2.width();
    const double height = form.state.Picture2.height();
    if (xs < 0 || yt < 0 || xe > width || yb > height || xs > xe || yt > yb) {
      err << "plotvane-cli: --rect: " << doubleText(xs) << ',' << doubleText(yt) << ','
          << doubleText(xe) << ',' << doubleText(yb) << " is reversed or outside the picture ("
          << doubleText(width) << " x " << doubleText(height) << ")\n";
      return kCliUsage;
    }
    form.state.Picture2.setRect({static_cast<float>(xs), static_cast<float>(xe),
                                 static_cast<float>(yt), static_cast<float>(yb)});
  }

  step([&] {
    if (options.x) {
      ui.txtMinLabelX.setText((*options.x)[0]);
      ui.txtMaxLabelX.setText((*options.x)[1]);
    }
    if (options.y) {
      ui.txtMinLabelY.setText((*options.y)[0]);
      ui.txtMaxLabelY.setText((*options.y)[1]);
    }
  });
  step([&] {
    if (options.pitch) {
      ui.txtStpX.setText(*options.pitch);
      txtStpXLostFocus(form);
    } else {
      ui.txtSmpX.setText(options.division.value_or("200"));
      txtSmpXLostFocus(form);
    }
  });
  step([&] {
    ui.cmbFRange.setText(options.filter);
    ui.cmbGraphType.selected = options.type;
    cmbGraphTypeClick(form);
    menuClick(form, MenuId::mnuExeStart);
  });
  if (exitCode) return *exitCode;

  const std::optional<std::string> text =
      dataFileText(listRowTexts(ui.ListView1, form.app.pointCount), options.delimiter);
  if (!text) return kCliFailed;
  if (!options.output) {
    errno = 0;
    out << *text;
    out.flush();
    if (out) return kCliOk;
    // A full disk or a closed standard output: the stream sets errno.
    err << "plotvane-cli: standard output could not be written: "
        << Platform::errorText(errno != 0 ? errno : EIO) << '\n';
    return kCliFailed;
  }
  if (const FileError error = platform.replaceFile(*options.output, *text)) {
    err << "plotvane-cli: " << *options.output << ": " << Platform::errorText(error) << '\n';
    return kCliFailed;
  }
  return kCliOk;
}

}  // namespace plotvane
