// What the program needs from the Linux desktop around it at start-up: a
// display to show the window on, an interface font that draws Japanese, the
// window's first size on the screen at hand, and Qt's own texts (file
// dialogs, standard buttons) in the program's language.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <memory>

class QTranslator;

namespace plotvane {

// Said when Qt finds no display to open the window on.
inline constexpr const char* kNoDisplayText =
    "plotvane: no display found; without a desktop, start it as: xvfb-run -a plotvane [picture]";

// Held while the QApplication is built: Qt's failure to open a display (which
// would abort with its advice to reinstall) becomes kNoDisplayText on the
// error output and exit status 1. Qt's other messages meanwhile are passed on
// once the watch ends.
class DisplayWatch {
 public:
  DisplayWatch();
  ~DisplayWatch();
  DisplayWatch(const DisplayWatch&) = delete;
  DisplayWatch& operator=(const DisplayWatch&) = delete;
};

// The desktop's default family first, so that Latin text looks as in every
// other program (and "\" stays a backslash), then the Japanese families for
// the glyphs it lacks. A default family that the font database does not
// know by name ("Sans Serif") is replaced by the family it resolves to.
QFont interfaceFont(const QFont& desktopFont);

// The window's first size: the design size, or the available screen area
// where that is smaller.
QSize startSize(QSize design, QSize available);

// Qt's Japanese translation, installed while the program speaks Japanese.
class QtTranslation {
 public:
  QtTranslation();
  ~QtTranslation();
  QtTranslation(const QtTranslation&) = delete;
  QtTranslation& operator=(const QtTranslation&) = delete;

  // Language as the core keeps it: 1 English, anything else Japanese.
  void follow(int language);
  bool installed() const { return installed_; }

 private:
  std::unique_ptr<QTranslator> translator_;
  bool tried_ = false;
  bool loaded_ = false;
  bool installed_ = false;
};

}  // namespace plotvane
