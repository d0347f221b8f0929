#include "hostapp/profile_menu.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace orv::hostapp {

void ProfileMenu::Install(QMainWindow* main, ProfileWindow::ConnectionProvider provider,
                          std::string login, std::function<void()> changed) {
  QMenu* menu = main->menuBar()->addMenu(QStringLiteral("&Profili"));
  menu->setObjectName(QStringLiteral("ProfileMenu"));
  const std::pair<QString, ProfileWindow::Page> items[] = {
      {QStringLiteral("&Diritti effettivi…"), ProfileWindow::kEffective},
      {QStringLiteral("&Confronta utenti e gruppi…"), ProfileWindow::kCompare},
      {QStringLiteral("Dove è &usato…"), ProfileWindow::kWhereUsed},
      {QStringLiteral("&Esporta/Importa…"), ProfileWindow::kExchange},
  };
  for (const auto& [caption, page] : items) {
    QAction* action = menu->addAction(caption);
    QObject::connect(action, &QAction::triggered, main,
                     [main, provider, login, changed, page = page] {
                       ProfileWindow window(provider, login, main);
                       window.ShowPage(page);
                       window.exec();
                       if (window.wrote() && changed) changed();
                     });
  }
}

}  // namespace orv::hostapp
