#include <QApplication>
#include <QFont>
#include <optional>
#include <string>

#include "app/form1.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  application.setApplicationName(QStringLiteral("Plotvane"));

  // Japanese captions need a font with their glyphs: name one after the
  // default so Qt falls back to it.
  QFont font = QApplication::font();
  font.setFamilies({font.family(), QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
  QApplication::setFont(font);

  // The first argument that Qt did not take for itself (it removes its own
  // from argv) names the picture, as the bytes the system gave.
  std::optional<std::string> argument;
  if (argc > 1) argument = std::string(argv[1]);

  plotvane::QtPlatform platform;
  plotvane::Form1 form(platform);
  plotvane::Form1Window window(form, platform);
  window.start(argument);
  if (form.state.closed) return 0;
  window.show();
  return QApplication::exec();
}
