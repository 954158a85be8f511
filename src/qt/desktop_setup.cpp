#include "qt/desktop_setup.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>

namespace plotvane {
namespace {

// The messages Qt gave while the watch was on (user-interface thread only).
QStringList& heldMessages() {
  static QStringList messages;
  return messages;
}

void watchStart(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  // Qt ends a start without a usable platform plugin with a fatal message.
  if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
    std::fprintf(stderr, "%s\n", kNoDisplayText);
    std::fflush(stderr);
    std::_Exit(1);
  }
  heldMessages() << qFormatLogMessage(type, context, message);
  // Any other fatal message is shown with what came before it; Qt aborts.
  if (type == QtFatalMsg) {
    for (const QString& held : heldMessages()) std::fprintf(stderr, "%s\n", qPrintable(held));
    std::fflush(stderr);
  }
}

}  // namespace

DisplayWatch::DisplayWatch() {
  heldMessages().clear();
  qInstallMessageHandler(&watchStart);
}

DisplayWatch::~DisplayWatch() {
  qInstallMessageHandler(nullptr);
  for (const QString& held : heldMessages()) std::fprintf(stderr, "%s\n", qPrintable(held));
  heldMessages().clear();
}

QFont interfaceFont(const QFont& desktopFont) {
  QString family = desktopFont.family();
  if (!QFontDatabase::hasFamily(family)) family = QFontInfo(desktopFont).family();
  QFont font = desktopFont;
  font.setFamilies({family, QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
  return font;
}

QSize startSize(QSize design, QSize available) {
  if (!available.isValid() || available.isEmpty()) return design;
  return design.boundedTo(available);
}

QtTranslation::QtTranslation() : translator_(std::make_unique<QTranslator>()) {}

QtTranslation::~QtTranslation() {
  if (installed_) QCoreApplication::removeTranslator(translator_.get());
}

void QtTranslation::follow(int language) {
  const bool japanese = language != 1;
  if (japanese == installed_) return;
  if (!japanese) {
    QCoreApplication::removeTranslator(translator_.get());
    installed_ = false;
    return;
  }
  // Read once, on the first switch to Japanese; without the translation
  // files Qt's texts stay English.
  if (!tried_) {
    tried_ = true;
    loaded_ =
        translator_->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
  }
  if (loaded_) installed_ = QCoreApplication::installTranslator(translator_.get());
}

}  // namespace plotvane
