#include "cli/cli_options.h"

#include <cmath>
#include <filesystem>
#include <map>

#include "base/number_text.h"
#include "digitize/graph_type.h"
#include "filters/brightness_contrast.h"

namespace plotvane {
namespace {

// Each option with the form of its value, for the usage text and the errors.
struct OptionForm {
  const char* name;
  const char* form;
  bool digitizeOnly;
};
constexpr OptionForm kOptions[] = {
    {"--type", "line|points|surface", true},
    {"--rect", "XS,YT,XE,YB", true},
    {"--rect-fraction", "L,T,R,B", true},
    {"--x", "MIN,MAX", true},
    {"--y", "MIN,MAX", true},
    {"--division", "N", true},
    {"--pitch", "P", true},
    {"--filter", "F", true},
    {"--delimiter", "comma|tab|space", true},
    {"--output", "FILE", true},
    {"--output-dir", "DIR", true},
    {"--jobs", "N", true},
    {"--save-picture", "FILE.bmp", false},
    {"--rotate", "DEG", false},
    {"--contrast", "C", false},
    {"--brightness", "B", false},
    {"--mask", "R,G,B,TOL,keep|remove", false},
    {"--erase", "X,Y,R", false},
};

CliOptions only(CliCommand command) {
  CliOptions options;
  options.command = command;
  return options;
}

const OptionForm* findOption(const std::string& name) {
  for (const OptionForm& option : kOptions)
    if (name == option.name) return &option;
  return nullptr;
}

class Parser {
 public:
  explicit Parser(const std::vector<std::string>& arguments) : arguments_(arguments) {}

  CliOptions parse();

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw UsageError{option_->name + std::string(": ") + what + " (expected " + option_->name +
                     " " + option_->form + ")"};
  }

  const std::string& value() {
    if (index_ + 1 >= arguments_.size()) fail("missing value");
    return arguments_[++index_];
  }

  // The value's comma-separated parts; exactly `count` of them.
  std::vector<std::string> parts(std::size_t count) {
    const std::string& text = value();
    std::vector<std::string> list;
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = text.find(',', start);
      list.push_back(text.substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    if (list.size() != count)
      fail("needs " + doubleText(double(count)) + " values separated by commas, got '" + text +
           "'");
    return list;
  }

  double number(const std::string& text) const {
    const std::optional<double> value = strictNumber(text);
    if (!value || !std::isfinite(*value)) fail("'" + text + "' is not a number");
    return *value;
  }

  int wholeNumber(const std::string& text, int low, int high) const {
    const double value = number(text);
    if (value != std::floor(value) || value < low || value > high)
      fail("'" + text + "' is not a whole number from " + doubleText(low) + " to " +
           doubleText(high));
    return static_cast<int>(value);
  }

  template <std::size_t N>
  std::array<double, N> numbers() {
    const std::vector<std::string> list = parts(N);
    std::array<double, N> values{};
    for (std::size_t i = 0; i < N; ++i) values[i] = number(list[i]);
    return values;
  }

  std::array<std::string, 2> scalePair() {
    const auto values = numbers<2>();
    return {doubleText(values[0]), doubleText(values[1])};
  }

  float single(double value) const {
    const std::optional<float> stored = singleOf(value);
    if (!stored) fail("'" + doubleText(value) + "' is out of range");
    return *stored;
  }

  // --contrast and --brightness one after the other set the two sliders of
  // one pass; a second --contrast (or another step) starts a new one.
  BrightnessContrastStep& brightnessContrastPass(bool contrast) {
    std::vector<PrepareStep>& steps = options_.steps;
    const bool open = openPass_ && (contrast ? !passHasContrast_ : !passHasBrightness_);
    if (!open) {
      steps.push_back(BrightnessContrastStep{});
      openPass_ = true;
      passHasContrast_ = passHasBrightness_ = false;
    }
    (contrast ? passHasContrast_ : passHasBrightness_) = true;
    return std::get<BrightnessContrastStep>(steps.back());
  }

  void step(PrepareStep next) {
    options_.steps.push_back(std::move(next));
    openPass_ = false;
  }

  void option(const std::string& name);
  void check() const;

  const std::vector<std::string>& arguments_;
  std::size_t index_ = 0;
  const OptionForm* option_ = nullptr;
  CliOptions options_;
  bool typeGiven_ = false;
  bool openPass_ = false, passHasContrast_ = false, passHasBrightness_ = false;
  std::vector<std::string> digitizeOptionsGiven_;
};

void Parser::option(const std::string& name) {
  if (name == "--type") {
    const std::string& type = value();
    if (type == "line")
      options_.type = kTraceLine;
    else if (type == "points")
      options_.type = kPlotAllPoints;
    else if (type == "surface")
      options_.type = kTraceSurface;
    else
      fail("'" + type + "' is not line, points or surface");
    typeGiven_ = true;
  } else if (name == "--rect") {
    options_.rect = numbers<4>();
  } else if (name == "--rect-fraction") {
    const auto f = numbers<4>();
    for (const double share : f)
      if (share < 0 || share > 1) fail("'" + doubleText(share) + "' is not from 0 to 1");
    if (f[0] > f[2] || f[1] > f[3]) fail("L is right of R or T below B");
    options_.rectFraction = f;
  } else if (name == "--x") {
    options_.x = scalePair();
  } else if (name == "--y") {
    options_.y = scalePair();
  } else if (name == "--division") {
    options_.division = value();
  } else if (name == "--pitch") {
    options_.pitch = value();
  } else if (name == "--filter") {
    options_.filter = value();
  } else if (name == "--delimiter") {
    const std::string& delimiter = value();
    if (delimiter == "comma")
      options_.delimiter = ',';
    else if (delimiter == "tab")
      options_.delimiter = '\t';
    else if (delimiter == "space")
      options_.delimiter = ' ';
    else
      fail("'" + delimiter + "' is not comma, tab or space");
  } else if (name == "--output") {
    options_.output = value();
  } else if (name == "--output-dir") {
    options_.outputDir = value();
    if (options_.outputDir->empty()) fail("the folder name is empty");
  } else if (name == "--jobs") {
    options_.jobs = wholeNumber(value(), 1, kMaxJobs);
  } else if (name == "--save-picture") {
    options_.savePicture = value();
  } else if (name == "--rotate") {
    const double degrees = number(value());
    try {
      step(RotateStep{rotateDialogAngle(degrees)});
    } catch (const OverflowError&) {
      fail("'" + doubleText(degrees) + "' is out of range");
    }
  } else if (name == "--contrast" || name == "--brightness") {
    const int level = wholeNumber(value(), -kBrightnessContrastLimit, kBrightnessContrastLimit);
    BrightnessContrastStep& pass = brightnessContrastPass(name == "--contrast");
    (name == "--contrast" ? pass.contrast : pass.brightness) = level;
  } else if (name == "--mask") {
    const std::vector<std::string> list = parts(5);
    ColourMaskStep mask;
    mask.params.red = wholeNumber(list[0], 0, 255);
    mask.params.green = wholeNumber(list[1], 0, 255);
    mask.params.blue = wholeNumber(list[2], 0, 255);
    mask.params.tolerance = static_cast<float>(wholeNumber(list[3], 0, 255));
    if (list[4] == "keep")
      mask.params.keepMode = true;
    else if (list[4] == "remove")
      mask.params.keepMode = false;
    else
      fail("'" + list[4] + "' is not keep or remove");
    step(mask);
  } else if (name == "--erase") {
    const auto [x, y, size] = numbers<3>();
    if (size < 1) fail("the eraser size '" + doubleText(size) + "' is below 1");
    step(EraseStep{single(x), single(y), size});
  }
}

CliOptions Parser::parse() {
  if (arguments_.empty()) throw UsageError{"missing command (expected 'digitize' or 'prepare')"};
  const std::string& command = arguments_[0];
  if (command == "--help" || command == "-h") return only(CliCommand::Help);
  if (command == "--version") return only(CliCommand::Version);
  if (command == "digitize")
    options_.command = CliCommand::Digitize;
  else if (command == "prepare")
    options_.command = CliCommand::Prepare;
  else
    throw UsageError{"unknown command '" + command + "' (expected 'digitize' or 'prepare')"};

  for (index_ = 1; index_ < arguments_.size(); ++index_) {
    const std::string& argument = arguments_[index_];
    if (argument == "--help" || argument == "-h") return only(CliCommand::Help);
    if (argument == "--version") return only(CliCommand::Version);
    if (!argument.starts_with("--")) {
      options_.pictures.push_back(argument);
      continue;
    }
    option_ = findOption(argument);
    if (!option_) throw UsageError{"unknown option '" + argument + "'"};
    if (option_->digitizeOnly) digitizeOptionsGiven_.push_back(argument);
    option(argument);
  }
  check();
  return std::move(options_);
}

void Parser::check() const {
  const CliOptions& o = options_;
  if (o.command == CliCommand::Prepare) {
    if (!digitizeOptionsGiven_.empty())
      throw UsageError{digitizeOptionsGiven_.front() + ": an option of digitize, not of prepare"};
    if (o.pictures.size() != 1)
      throw UsageError{o.pictures.empty()
                           ? "missing PICTURE"
                           : "prepare takes one PICTURE, got '" + o.pictures[1] + "' too"};
    if (!o.savePicture) throw UsageError{"missing --save-picture FILE.bmp"};
    return;
  }
  if (o.pictures.empty()) throw UsageError{"missing PICTURE"};
  if (!typeGiven_) throw UsageError{"missing --type line|points|surface"};
  if (o.division && o.pitch) throw UsageError{"--division and --pitch: give one of them, not both"};
  if (o.rect && o.rectFraction)
    throw UsageError{"--rect and --rect-fraction: give one of them, not both"};
  if (o.output && o.outputDir)
    throw UsageError{"--output and --output-dir: give one of them, not both"};
  if (o.pictures.size() > 1) {
    if (!o.outputDir)
      throw UsageError{"several pictures need --output-dir DIR (got '" + o.pictures[1] + "' too)"};
    if (o.savePicture)
      throw UsageError{"--save-picture: takes one picture, got " +
                       doubleText(double(o.pictures.size()))};
  }
  if (!o.outputDir) return;

  // Two pictures must not write one data file, nor a data file replace a
  // picture of the batch.
  namespace fs = std::filesystem;
  auto key = [](const std::string& path) {
    std::error_code ignored;
    const fs::path absolute = fs::absolute(path, ignored);
    return (absolute.empty() ? fs::path(path) : absolute).lexically_normal().string();
  };
  std::map<std::string, const std::string*> outputs;
  for (const std::string& picture : o.pictures) {
    const std::string name = dataFileName(picture, o.delimiter);
    if (name.empty()) throw UsageError{"'" + picture + "' names no picture file"};
    const auto [at, added] = outputs.emplace(key(*o.outputDir + "/" + name), &picture);
    if (!added)
      throw UsageError{"--output-dir: '" + *at->second + "' and '" + picture +
                       "' would both write " + name};
  }
  for (const std::string& picture : o.pictures)
    if (outputs.contains(key(picture)))
      throw UsageError{"--output-dir: the data file of '" + *outputs.at(key(picture)) +
                       "' would replace the picture '" + picture + "'"};
}

}  // namespace

CliOptions parseCliArguments(const std::vector<std::string>& arguments) {
  return Parser(arguments).parse();
}

std::string dataFileName(const std::string& picture, char delimiter) {
  const std::filesystem::path path(picture);
  const std::string stem = path.filename().empty() ? std::string() : path.stem().string();
  if (stem.empty() || stem == "." || stem == "..") return {};
  return stem + (delimiter == ',' ? ".csv" : ".txt");
}

std::string cliUsage() {
  return "Usage: plotvane-cli digitize PICTURE... --type line|points|surface\n"
         "         [--rect XS,YT,XE,YB | --rect-fraction L,T,R,B] [--x MIN,MAX] [--y MIN,MAX]\n"
         "         [--division N | --pitch P] [--filter F] [--delimiter comma|tab|space]\n"
         "         [--output FILE | --output-dir DIR] [--jobs N] [STEP...]\n"
         "         [--save-picture FILE.bmp]\n"
         "       plotvane-cli prepare PICTURE [STEP...] --save-picture FILE.bmp\n"
         "       plotvane-cli --help | --version\n"
         "\n"
         "digitize: digitizes chart pictures as the window does and writes the data\n"
         "file (header Data:X, Data:Y, Source:X, Source:Y; CR LF line ends) to FILE,\n"
         "to standard output, or with --output-dir one file per picture into DIR,\n"
         "named after the picture (NAME.csv for comma, NAME.txt for tab or space).\n"
         "  --rect      reference rectangle in picture pixels (default: the whole picture)\n"
         "  --rect-fraction  the rectangle's edges as shares 0 to 1 of the picture's\n"
         "              width and height, not rounded to whole pixels\n"
         "  --x         X values at the left and right edges (default 0,1)\n"
         "  --y         Y values at the bottom and top edges (default 0,1)\n"
         "  --division  number of divisions of the X range (default 200)\n"
         "  --pitch     X step between two divisions, instead of --division\n"
         "  --filter    Y-filtering height, an odd number from 1 to 127 (default 1)\n"
         "  --output-dir  several pictures: each one's data file goes into DIR\n"
         "  --jobs      pictures digitized at a time, 1 to 256 (default: the cores)\n"
         "\n"
         "prepare: writes the prepared picture as a Windows bitmap to --save-picture\n"
         "FILE.bmp (digitize takes it too, with one picture); an old file is replaced\n"
         "through a temporary file.\n"
         "\n"
         "STEP, run on the picture in the order given, as the window's commands do:\n"
         "  --rotate DEG        turn counter-clockwise (negative: clockwise)\n"
         "  --contrast C        contrast slider, -100 to 100\n"
         "  --brightness B      brightness slider, -100 to 100; --contrast and\n"
         "                      --brightness one after the other make one pass\n"
         "  --mask R,G,B,TOL,keep|remove\n"
         "                      colour mask: keep only that colour, or remove it\n"
         "                      (R, G, B and the tolerance TOL 0 to 255)\n"
         "  --erase X,Y,R       white disc of eraser size R (from 1) at pixel X,Y\n"
         "\n"
         "Exit status: 0 done, 1 a picture failed, 2 usage error.\n";
}

}  // namespace plotvane
