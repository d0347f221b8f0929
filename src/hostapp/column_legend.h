#ifndef ORV_HOSTAPP_COLUMN_LEGEND_H_
#define ORV_HOSTAPP_COLUMN_LEGEND_H_

#include <QObject>
#include <QString>

class QHeaderView;

namespace orv::hostapp {

// Says what a column caption of the grids means, as a tooltip over the
// header: the short captions ("Ins", "Mod", "Elim", "Abilita") and the
// warehouse codes of the transfer matrix. Lives as long as its header.
class ColumnLegend : public QObject {
  Q_OBJECT

 public:
  // Watches `header` (owned by it).
  static void Attach(QHeaderView* header);
  // The explanation of a caption; `check_box` when a click on it switches
  // the whole column.
  static QString For(const QString& caption, const QString& group, bool check_box);
  // The explanation of a copy-panel control by name (empty for others).
  static QString ForCopyControl(const QString& name);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit ColumnLegend(QHeaderView* header);

  QHeaderView* header_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_COLUMN_LEGEND_H_
