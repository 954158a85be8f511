#include <QApplication>
#include <QFont>
#include <QStringList>
#include <optional>
#include <string>

#include "app/form1.h"
#include "qt/desktop_setup.h"
#include "qt/form1_window.h"
#include "qt/qt_platform.h"

int main(int argc, char** argv) {
  std::optional<plotvane::DisplayWatch> displayWatch(std::in_place);
  QApplication application(argc, argv);
  displayWatch.reset();
  application.setApplicationName(QStringLiteral("Plotvane"));
  QApplication::setFont(plotvane::interfaceFont(QApplication::font()));

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
