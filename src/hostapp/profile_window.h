#ifndef ORV_HOSTAPP_PROFILE_WINDOW_H_
#define ORV_HOSTAPP_PROFILE_WINDOW_H_

#include <QDialog>
#include <QStandardItemModel>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "profile/principal_directory.h"
#include "profile/profile_import.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTableView;

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

// The profile views of the desktop program, read-only but for the import:
// "Diritti effettivi" (a user's revocations with their groups', a source
// column), "Confronto" (two principals), "Dove è usato" (who revokes an
// item) and "Esporta/Importa" (a profile file; the preview is shown before
// anything is written, and written only on "Applica").
class ProfileWindow : public QDialog {
  Q_OBJECT

 public:
  using ConnectionProvider = std::function<std::shared_ptr<db::Connection>()>;
  enum Page { kEffective = 0, kCompare = 1, kWhereUsed = 2, kExchange = 3 };

  ProfileWindow(ConnectionProvider provider, std::string login, QWidget* parent = nullptr);

  void ShowPage(Page page);
  // Renders one view into a PNG file, off screen: "effective:USER",
  // "compare:A,B", "where-used:ITEM" or "import:PRINCIPAL,FILE" (the
  // preview). Returns an error text, empty when the picture was written.
  static std::string Picture(ConnectionProvider provider, std::string login,
                             const std::string& view, const std::string& file);
  // The views, by what they show (for tests and pictures).
  QStandardItemModel* effective_model() { return &effective_; }
  QStandardItemModel* compare_model() { return &compare_; }
  QStandardItemModel* where_used_model() { return &where_used_; }
  QStandardItemModel* preview_model() { return &preview_; }

  // The gestures behind the buttons (also for tests).
  void ShowEffective(int user_index);
  void ShowComparison(int a_index, int b_index);
  void ShowWhereUsed(const QString& item);
  bool ExportTo(int principal_index, const QString& file);
  // Reads the file and shows the preview for the principal; true when it can
  // be applied.
  bool PreviewImport(int principal_index, const QString& file);
  bool ApplyImport();
  // Every principal the combos offer: groups, then users.
  const std::vector<profile::NamedPrincipal>& principals() const { return principals_; }
  int IndexOf(const std::string& reference) const;
  QString note() const;
  // True once an import wrote rows.
  bool wrote() const { return wrote_; }

 private:
  QWidget* EffectivePage();
  QWidget* ComparePage();
  QWidget* WhereUsedPage();
  QWidget* ExchangePage();
  QComboBox* PrincipalCombo(bool users_only);
  bool Preview(int principal_index, const QString& file);
  void Fail(const QString& what, const std::exception& e);
  std::shared_ptr<db::Connection> Connection();

  ConnectionProvider provider_;
  std::string login_;
  std::vector<profile::NamedPrincipal> principals_;
  QTabWidget* tabs_ = nullptr;
  QLabel* effective_note_ = nullptr;
  QLabel* compare_note_ = nullptr;
  QLabel* exchange_note_ = nullptr;
  QLineEdit* item_ = nullptr;
  class QPushButton* apply_ = nullptr;
  QStandardItemModel effective_;
  QStandardItemModel compare_;
  QStandardItemModel where_used_;
  QStandardItemModel preview_;
  bool wrote_ = false;
  bool quiet_ = false;  // off screen: errors are kept, not shown
  std::string last_error_;
  int pending_target_ = -1;
  profile::ImportPlan shown_;  // the preview on screen
  std::string pending_text_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_PROFILE_WINDOW_H_
