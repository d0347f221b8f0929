#ifndef ORV_HOSTAPP_ROW_IMAGE_MODEL_H_
#define ORV_HOSTAPP_ROW_IMAGE_MODEL_H_

#include <QAbstractTableModel>
#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "journal/row_image.h"

namespace orv::hostapp {

// The rows one journal entry changed, readable without knowing the tables:
// the section the row belongs to, who it revokes for, the item ("02",
// "MAG1 > MAG2") and the row before and after ("revocato (abilitato no, …)",
// "consentito (nessuna riga)").
class RowImageModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // The name of a user (`user` true) or a group by id.
  using PrincipalNamer = std::function<QString(bool user, int64_t id)>;
  enum Column { kSection, kPrincipal, kItem, kBefore, kAfter, kColumnCount };

  explicit RowImageModel(PrincipalNamer namer, QObject* parent = nullptr);

  // `section` names the rows of a table that belongs to no one section.
  void SetImages(std::vector<journal::RowImage> images, int32_t section);
  const std::vector<journal::RowImage>& images() const { return images_; }

  // A row's values as a reader says them.
  static QString Describe(std::string_view table, const std::optional<std::string>& values);
  // The section a row of `table` belongs to ("Depositi" for a warehouse
  // row of FW31_RVKPARAMETRI); `section` when the row does not say.
  static QString SectionOf(std::string_view table, std::string_view key, int32_t section);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  QString Principal(const journal::RowImage& image) const;

  PrincipalNamer namer_;
  std::vector<journal::RowImage> images_;
  int32_t section_ = 0;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_ROW_IMAGE_MODEL_H_
