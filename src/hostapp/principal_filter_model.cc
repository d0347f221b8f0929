#include "hostapp/principal_filter_model.h"

namespace orv::hostapp {

PrincipalFilterModel::PrincipalFilterModel(int kind_role, int id_role, QObject* parent)
    : QSortFilterProxyModel(parent), kind_role_(kind_role), id_role_(id_role) {
  setRecursiveFilteringEnabled(true);
  setFilterCaseSensitivity(Qt::CaseInsensitive);
  setAutoAcceptChildRows(true);
}

void PrincipalFilterModel::SetKept(std::optional<std::pair<int32_t, int64_t>> kept) {
  if (kept == kept_) return;
  kept_ = kept;
  invalidateRowsFilter();
}

bool PrincipalFilterModel::filterAcceptsRow(int source_row,
                                            const QModelIndex& source_parent) const {
  if (kept_ && sourceModel() != nullptr) {
    const QModelIndex index = sourceModel()->index(source_row, 0, source_parent);
    const QVariant kind = index.data(kind_role_);
    if (kind.isValid() && kind.toInt() == kept_->first &&
        index.data(id_role_).toLongLong() == kept_->second) {
      return true;
    }
  }
  return QSortFilterProxyModel::filterAcceptsRow(source_row, source_parent);
}

}  // namespace orv::hostapp
