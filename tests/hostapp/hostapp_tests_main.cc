// Runs one suite of the desktop host's tests (or all of them).

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdio>
#include <string>
#include <vector>

#include "hostapp/host_translations.h"
#include "hostapp/suites.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("orvelka-tests"));
  // What the program remembers goes to a folder of this run only.
  QTemporaryDir settings;
  QSettings::setDefaultFormat(QSettings::IniFormat);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  // As the program does: Qt's own texts in Italian.
  orv::hostapp::HostTranslations::Install();
  const std::string suite = argc > 1 ? argv[1] : "all";
  // QTest sees the program name and the arguments after the suite.
  std::vector<char*> args{argv[0]};
  for (int i = 2; i < argc; ++i) args.push_back(argv[i]);
  const int n = static_cast<int>(args.size());
  struct Suite {
    const char* name;
    int (*run)(int, char**);
  };
  const Suite suites[] = {{"models", RunModelsTest},
                          {"services", RunServicesTest},
                          {"editor", RunEditorTest},
                          {"profiles", RunProfileWindowTest},
                          {"journal", RunJournalUiTest}};
  int failures = 0;
  bool known = false;
  for (const Suite& s : suites) {
    if (suite != s.name && suite != "all") continue;
    known = true;
    failures += s.run(n, args.data());
  }
  if (!known) {
    std::fprintf(stderr, "unknown suite %s (models, services, editor, profiles, journal, all)\n",
                 suite.c_str());
    return 2;
  }
  return failures == 0 ? 0 : 1;
}
