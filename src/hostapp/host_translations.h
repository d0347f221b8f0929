#ifndef ORV_HOSTAPP_HOST_TRANSLATIONS_H_
#define ORV_HOSTAPP_HOST_TRANSLATIONS_H_

#include <QString>

namespace orv::hostapp {

// The program speaks one language: its own texts are written in Italian
// through tr(), and Qt's own texts (the standard buttons Annulla, Sì, No,
// Chiudi, Riprova, Ignora, Interrompi; the context menus) come from Qt's
// Italian catalogues. A catalogue of the program for another language,
// orvelka_<lang>.qm beside Qt's or in the program's data folder, follows the
// same path.
class HostTranslations {
 public:
  // Installs the catalogues of `language` ("it") on the application; true
  // when Qt's own catalogue was found.
  static bool Install(const QString& language = QStringLiteral("it"));
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_TRANSLATIONS_H_
