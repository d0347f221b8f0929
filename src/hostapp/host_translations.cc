#include "hostapp/host_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace orv::hostapp {

bool HostTranslations::Install(const QString& language) {
  QLocale::setDefault(QLocale(language));
  const QString qt_path = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  // The application owns the translators and keeps them for its lifetime.
  auto* qt = new QTranslator(QCoreApplication::instance());
  const bool found = qt->load(QStringLiteral("qt_") + language, qt_path);
  if (found) {
    QCoreApplication::installTranslator(qt);
  } else {
    delete qt;
  }
  auto* own = new QTranslator(QCoreApplication::instance());
  if (own->load(QStringLiteral("orvelka_") + language, qt_path) ||
      own->load(QStringLiteral("orvelka_") + language,
                QCoreApplication::applicationDirPath() +
                    QStringLiteral("/../share/orvelka/translations"))) {
    QCoreApplication::installTranslator(own);
  } else {
    delete own;
  }
  return found;
}

}  // namespace orv::hostapp
