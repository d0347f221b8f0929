#ifndef ORV_HOSTAPP_JOURNAL_VIEWER_H_
#define ORV_HOSTAPP_JOURNAL_VIEWER_H_

#include <QDialog>
#include <QHash>
#include <functional>
#include <memory>
#include <vector>

#include "hostapp/change_log_filter.h"
#include "hostapp/change_log_model.h"
#include "hostapp/journal_model.h"
#include "hostapp/row_image_model.h"
#include "journal/journal_entry.h"
#include "journal/journal_filter.h"
#include "journal/row_image.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

class DateFilterEdit;

// The audit viewer: every entry of the journal of gestures, newest first,
// filtered by principal, section, login and days; the rows the chosen entry
// changed, before and after; the host's change log beside it, narrowed by
// the same filters; an export of the entries shown to CSV, and "Annulla
// questa modifica", which puts the chosen entry back through the editor.
class JournalViewer : public QDialog {
  Q_OBJECT

 public:
  // Where the viewer reads and what it reverts with.
  struct Source {
    std::function<std::vector<journal::JournalEntry>(const journal::JournalFilter&)> entries;
    std::function<std::vector<journal::RowImage>(int64_t)> images;
    // Puts entry N back (the editor shows a refusal and reloads its grid);
    // true when applied. Empty: the viewer only reads.
    std::function<bool(int64_t)> revert;
    // The host database: principals' names and the change log.
    ChangeLogModel::ConnectionProvider connection;
    bool persistent = true;  // false: the journal lives in memory only
  };

  explicit JournalViewer(Source source, QWidget* parent = nullptr);

  JournalModel* model() { return &model_; }
  RowImageModel* images() { return &images_; }
  ChangeLogFilter* change_log() { return &log_filter_; }
  QTableView* table() const { return table_; }

  // The filters, as the combo boxes choose them (also for tests).
  void SetPrincipalFilter(const QString& kind, int64_t id);  // empty kind: everyone
  void SetSectionFilter(int32_t section);                    // 0: every section
  void SetLoginFilter(const QString& login);                 // empty: every login
  void SetDays(const QDate& from, const QDate& to);          // invalid: open
  // The filter the controls make.
  journal::JournalFilter Filter() const;

  // Makes entry `id` the chosen one; false when it is not listed.
  bool Choose(int64_t id);
  // The chosen entry's id (0: none).
  int64_t Chosen() const;
  // Puts the chosen entry back; true when applied.
  bool RevertChosen();
  // Writes the entries shown to `path` as CSV; false when it cannot.
  bool ExportCsv(const QString& path);
  // Reads the journal and the change log again (filters kept).
  void Reload();

 private:
  QString PrincipalName(bool user, int64_t id);
  QString EntryPrincipal(const journal::JournalEntry& entry);
  void FillChoices(const std::vector<journal::JournalEntry>& all);
  void ApplyFilters();
  void ShowChosen();

  Source source_;
  QHash<QString, QString> names_;  // "U12"/"G3" -> name
  JournalModel model_;
  RowImageModel images_;
  ChangeLogModel log_;
  ChangeLogFilter log_filter_;
  QTableView* table_;
  QTableView* rows_;
  QTableView* log_table_;
  QComboBox* principal_;
  QComboBox* section_;
  QComboBox* login_;
  DateFilterEdit* from_;
  DateFilterEdit* to_;
  QLabel* count_;
  QPushButton* revert_;
  bool filling_ = false;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_JOURNAL_VIEWER_H_
