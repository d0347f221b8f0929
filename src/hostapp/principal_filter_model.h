#ifndef ORV_HOSTAPP_PRINCIPAL_FILTER_MODEL_H_
#define ORV_HOSTAPP_PRINCIPAL_FILTER_MODEL_H_

#include <QSortFilterProxyModel>
#include <cstdint>
#include <optional>
#include <utility>

namespace orv::hostapp {

// The user/group tree as the search box narrows it. The principal whose
// rights are on screen always stays listed, whatever the search text, so
// the highlight never has to leave it for someone else's node.
class PrincipalFilterModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  // Item roles of the source model that identify a principal.
  PrincipalFilterModel(int kind_role, int id_role, QObject* parent = nullptr);

  // The principal kept visible (none: the search text alone decides).
  void SetKept(std::optional<std::pair<int32_t, int64_t>> kept);

 protected:
  bool filterAcceptsRow(int source_row, const QModelIndex& source_parent) const override;

 private:
  int kind_role_;
  int id_role_;
  std::optional<std::pair<int32_t, int64_t>> kept_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_PRINCIPAL_FILTER_MODEL_H_
