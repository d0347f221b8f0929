#ifndef ORV_HOSTAPP_JOURNAL_MODEL_H_
#define ORV_HOSTAPP_JOURNAL_MODEL_H_

#include <QAbstractTableModel>
#include <QDateTime>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "journal/journal_entry.h"

namespace orv::hostapp {

// Entries of the journal of gestures as the audit viewer lists them, in the
// order given (the journal's: newest first): when, login, company, the
// principal by name, the section by title, the gesture, the summary, the
// number of rows and what later happened to the entry.
class JournalModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The readable name of an entry's principal ("Gruppo Ufficio vendite").
  using PrincipalNamer = std::function<QString(const journal::JournalEntry&)>;
  enum Column {
    kId,
    kTime,
    kLogin,
    kCompany,
    kPrincipal,
    kSection,
    kGesture,
    kSummary,
    kRows,
    kState,
    kColumnCount
  };
  // The entry's id (a qint64) of a row.
  static constexpr int kIdRole = Qt::UserRole + 1;

  explicit JournalModel(PrincipalNamer namer, QObject* parent = nullptr);

  void SetEntries(std::vector<journal::JournalEntry> entries);
  const std::vector<journal::JournalEntry>& entries() const { return entries_; }
  // The row of entry `id`; -1 when not listed.
  int RowOf(int64_t id) const;

  // "yyyyMMdd HH:mm:ss" as the journal stores it (invalid when unreadable).
  static QDateTime ParseTime(const std::string& text);
  // What later happened to an entry: "annullata", "annulla N° 4", "ripete
  // N° 4", or "".
  static QString State(const journal::JournalEntry& entry);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  QString Cell(const journal::JournalEntry& entry, int column) const;

  PrincipalNamer namer_;
  std::vector<journal::JournalEntry> entries_;
  std::vector<QString> principals_;  // the namer's answer, per row
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_JOURNAL_MODEL_H_
