#include "cli/cli.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "app/form1.h"
#include "app/handler_boundary.h"
#include "base/number_text.h"
#include "cli/cli_options.h"
#include "cli/job_queue.h"
#include "data/data_export.h"
#include "digitize/graph_type.h"
#include "digitize/run_control.h"
#include "loading/load_picture.h"
#include "picture/bitmap_file.h"
#include "shell/about.h"
#include "shell/form1_events.h"
#include "view/view.h"

namespace plotvane {
namespace {

// Nobody sees the command line's view: a small client area keeps the fitted
// zoom, and so the view's redraws, small. The results do not depend on it.
constexpr int kClientWidthTwips = 480 * kTwipsPerPixel;
constexpr int kClientHeightTwips = 360 * kTwipsPerPixel;

struct PictureResult {
  int code = kCliOk;
  // What went wrong, one message a line, without the picture's name.
  std::vector<std::string> messages;
  std::string data;  // the data file, when digitized
  // Why the picture could not be read, when it could not.
  std::string loadFailure;
  int points = 0;
};

std::string fileErrorText(const std::string& path, FileError error) {
  return path + ": " + Platform::errorText(error);
}

// The rectangle the options give for a width x height picture; the picture's
// whole area without --rect or --rect-fraction.
std::optional<PixelRect> rectFor(const CliOptions& options, int width, int height,
                                 std::string& refusal) {
  const double w = width, h = height;
  if (options.rectFraction) {
    // Shares of the size, kept fractional like a rectangle dragged in the
    // window: each edge is the single-precision value nearest to the
    // product, which never passes the picture's edge.
    const auto [l, t, r, b] = *options.rectFraction;
    return PixelRect{static_cast<float>(l * w), static_cast<float>(r * w),
                     static_cast<float>(t * h), static_cast<float>(b * h)};
  }
  if (!options.rect) return PixelRect{0, static_cast<float>(w), 0, static_cast<float>(h)};
  const auto [xs, yt, xe, yb] = *options.rect;
  if (xs < 0 || yt < 0 || xe > w || yb > h || xs > xe || yt > yb) {
    refusal = "--rect: " + doubleText(xs) + ',' + doubleText(yt) + ',' + doubleText(xe) + ',' +
              doubleText(yb) + " is reversed or outside the picture (" + doubleText(w) + " x " +
              doubleText(h) + ")";
    return std::nullopt;
  }
  return PixelRect{static_cast<float>(xs), static_cast<float>(xe), static_cast<float>(yt),
                   static_cast<float>(yb)};
}

// One picture on its own Form1: loaded, prepared, saved as a bitmap when
// asked, then digitized (digitize only) with the window's handlers.
PictureResult runPicture(const CliOptions& options, const std::string& picture,
                         HeadlessPlatform& platform) {
  PictureResult result;
  platform.clearMessages();
  Form1 form(platform);
  Form1Controls& ui = form.ui;
  bool failed = false;
  auto step = [&](auto&& handler) {
    if (failed) return;
    const bool ok = runHandler(form, handler);
    if (!platform.messages().empty() || !ok) failed = true;
  };
  auto finish = [&](int code) {
    for (const ShownMessage& message : platform.messages()) result.messages.push_back(message.text);
    result.code = failed ? kCliFailed : code;
    return std::move(result);
  };

  step([&] {
    formLoad(form, false);
    formResize(form, kClientWidthTwips, kClientHeightTwips);
  });
  step([&] { LoadPictureFile(form, picture); });
  // The window's message names no file and no reason; the command line adds
  // the reason.
  if (failed) result.loadFailure = form.state.pictureFailure;
  if (!options.steps.empty()) {
    step([&] {
      PixelArray prepared = form.state.Picture2.pixels();
      preparePicture(prepared, options.steps);
      if (!PictureLimits::forThisMachine().accepts(prepared.width(), prepared.height())) {
        form.showMessage("The prepared picture, " + doubleText(prepared.width()) + " x " +
                         doubleText(prepared.height()) +
                         " pixels, is larger than the program takes.");
        return;
      }
      // Digitized as if the prepared picture had been loaded: shown whole and
      // selected whole.
      form.state.Picture2.replace(std::move(prepared));
      showChangedPicture(form, PictureChange::Loaded);
    });
  }
  if (options.savePicture) {
    step([&] {
      if (const FileError error = platform.replaceFile(
              *options.savePicture, bitmapFileBytes(form.state.Picture2.pixels())))
        form.showMessage(fileErrorText(*options.savePicture, error));
    });
  }
  if (failed || options.command == CliCommand::Prepare) return finish(kCliOk);

  std::string refusal;
  const std::optional<PixelRect> rect =
      rectFor(options, form.state.Picture2.width(), form.state.Picture2.height(), refusal);
  if (!rect) {
    result.messages.push_back(refusal);
    result.code = kCliUsage;
    return result;
  }
  form.state.Picture2.setRect(*rect);

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
  if (failed) return finish(kCliFailed);

  std::optional<std::string> text =
      dataFileText(listRowTexts(ui.ListView1, form.app.pointCount), options.delimiter);
  if (!text) return finish(kCliFailed);
  result.points = form.app.pointCount;
  result.data = std::move(*text);
  return finish(kCliOk);
}

// One picture, today's way: messages as they are, the data file to --output
// or standard output, a rectangle outside the picture a usage error.
int runSingle(const CliOptions& options, HeadlessPlatform& platform, std::ostream& out,
              std::ostream& err) {
  const PictureResult result = runPicture(options, options.pictures.front(), platform);
  if (result.code == kCliUsage) {
    err << "plotvane-cli: " << result.messages.front() << '\n';
    return kCliUsage;
  }
  for (const std::string& message : result.messages) err << message << '\n';
  if (!result.loadFailure.empty())
    err << "plotvane-cli: " << options.pictures.front() << ": " << result.loadFailure << '\n';
  if (result.code != kCliOk || options.command == CliCommand::Prepare) return result.code;
  if (!options.output) {
    errno = 0;
    out << result.data;
    out.flush();
    if (out) return kCliOk;
    // A full disk or a closed standard output: the stream sets errno.
    err << "plotvane-cli: standard output could not be written: "
        << Platform::errorText(errno != 0 ? errno : EIO) << '\n';
    return kCliFailed;
  }
  if (const FileError error = platform.replaceFile(*options.output, result.data)) {
    err << "plotvane-cli: " << fileErrorText(*options.output, error) << '\n';
    return kCliFailed;
  }
  return kCliOk;
}

// The progress line on a terminal, rewritten in place.
class ProgressLine {
 public:
  ProgressLine(std::ostream& err, bool shown) : err_(err), shown_(shown) {}
  void show(std::size_t ended, std::size_t total, const std::string& current) {
    if (!shown_) return;
    err_ << "\r\x1b[K" << doubleText(double(ended)) << " of " << doubleText(double(total))
         << " pictures done, " << current << std::flush;
    visible_ = true;
  }
  void clear() {
    if (!visible_) return;
    err_ << "\r\x1b[K";
    visible_ = false;
  }

 private:
  std::ostream& err_;
  bool shown_;
  bool visible_ = false;
};

int runBatch(const CliOptions& options, const std::vector<HeadlessPlatform*>& workers,
             const std::vector<HeadlessPlatform*>& writers, bool progressShown, std::ostream& err) {
  const std::string& folder = *options.outputDir;
  if (const FileError error = posix_files::makeFolders(folder)) {
    err << "plotvane-cli: " << fileErrorText(folder, error) << '\n';
    return kCliFailed;
  }
  const std::vector<std::string>& pictures = options.pictures;
  std::vector<PictureResult> results(pictures.size());
  std::size_t points = 0, failures = 0;
  ProgressLine progress(err, progressShown);

  JobCallbacks callbacks;
  callbacks.work = [&](std::size_t i, HeadlessPlatform& platform) {
    try {
      results[i] = runPicture(options, pictures[i], platform);
    } catch (const std::exception& error) {
      results[i] = PictureResult{};
      results[i].code = kCliFailed;
      results[i].messages = {error.what()};
    }
  };
  callbacks.write = [&](std::size_t i, HeadlessPlatform& platform) {
    PictureResult& result = results[i];
    if (result.code == kCliOk) {
      const std::string path =
          Platform::joinPath(folder, dataFileName(pictures[i], options.delimiter));
      if (const FileError error = platform.replaceFile(path, result.data)) {
        result.messages.push_back(fileErrorText(path, error));
        result.code = kCliFailed;
      }
    }
    std::string().swap(result.data);
  };
  callbacks.progress = [&](std::size_t ended, std::size_t latest) {
    progress.show(ended, pictures.size(), pictures[latest]);
  };
  callbacks.finished = [&](std::size_t i) {
    const PictureResult& result = results[i];
    if (result.code == kCliOk) {
      points += static_cast<std::size_t>(result.points);
      return;
    }
    ++failures;
    progress.clear();
    for (const std::string& message : result.messages)
      err << pictures[i] << ": " << message << '\n';
    if (!result.loadFailure.empty()) err << pictures[i] << ": " << result.loadFailure << '\n';
    if (result.messages.empty()) err << pictures[i] << ": failed\n";
  };
  runJobs(pictures.size(), workers, writers, callbacks);

  progress.clear();
  err << "plotvane-cli: " << doubleText(double(pictures.size())) << " pictures, "
      << doubleText(double(points)) << " points, " << doubleText(double(failures)) << " failed\n";
  return failures == 0 ? kCliOk : kCliFailed;
}

int run(const std::vector<std::string>& arguments, const CliSetup* setup,
        HeadlessPlatform* onlyPlatform, std::ostream& out, std::ostream& err) {
  CliOptions options;
  try {
    options = parseCliArguments(arguments);
  } catch (const UsageError& error) {
    err << "plotvane-cli: " << error.text << "\n\n" << cliUsage();
    return kCliUsage;
  }
  if (options.command == CliCommand::Help) {
    out << cliUsage();
    return kCliOk;
  }
  if (options.command == CliCommand::Version) {
    out << kProgramVersion << '\n';
    return kCliOk;
  }

  const bool batch = options.outputDir.has_value();
  std::vector<std::unique_ptr<HeadlessPlatform>> owned;
  auto make = [&] { return owned.emplace_back(setup->newPlatform()).get(); };
  std::vector<HeadlessPlatform*> workers, writers;
  if (onlyPlatform) {
    workers.push_back(onlyPlatform);
  } else if (!batch) {
    workers.push_back(make());
  } else {
    const std::size_t jobs = std::min<std::size_t>(
        options.jobs.value_or(std::max(1u, setup->cores)), options.pictures.size());
    for (std::size_t i = 0; i < jobs; ++i) {
      workers.push_back(make());
      writers.push_back(make());
    }
  }
  if (!batch) return runSingle(options, *workers.front(), out, err);
  return runBatch(options, workers, writers, setup && setup->progress, err);
}

}  // namespace

int runCli(const std::vector<std::string>& arguments, const CliSetup& setup, std::ostream& out,
           std::ostream& err) {
  return run(arguments, &setup, nullptr, out, err);
}

int runCli(const std::vector<std::string>& arguments, HeadlessPlatform& platform, std::ostream& out,
           std::ostream& err) {
  return run(arguments, nullptr, &platform, out, err);
}

}  // namespace plotvane
