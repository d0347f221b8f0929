#ifndef ORV_SESSION_MEMORY_MATRIX_GRID_H_
#define ORV_SESSION_MEMORY_MATRIX_GRID_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "host/grid_column.h"
#include "zere_orvelka/matrix_grid.h"

namespace orv::session {

// The matrix grid of the headless host. Rows are found by their origin
// code (the trimmed "CODICE" field); display order is recordset order.
class MemoryMatrixGrid : public host::MatrixGrid {
 public:
  std::optional<host::GridLayout> GetLayout() const override { return layout_; }
  void SetLayout(const host::GridLayout& layout) override { layout_ = layout; }
  void ClearColumns() override;
  void AddHeaderGroup(std::string_view caption) override;
  void AddTextColumn(std::string_view key, std::string_view caption, int32_t width,
                     std::string_view group) override;
  void AddCheckBoxColumn(std::string_view key, std::string_view caption,
                         std::string_view checked_value, std::string_view unchecked_value,
                         int32_t width, std::string_view group) override;
  void ApplyColumns() override { ++apply_count; }
  void SetHeaderCheck(std::string_view key, bool value) override;
  void FinishLayout() override { ++finish_count; }
  // Only the module's recordsets are bound: other rows leave the grid empty.
  void SetDataSource(std::shared_ptr<host::RowSource> rows) override;
  std::shared_ptr<host::RowSource> GetDataSource() const override { return data_source_; }
  // The bound recordset (null when none).
  const std::shared_ptr<db::Recordset>& recordset() const { return data_source_; }
  void RefreshLayout() override { ++refresh_layout_count; }
  void Refresh() override { ++refresh_count; }

  const std::vector<std::string>& header_groups() const { return header_groups_; }
  const std::vector<host::GridColumn>& columns() const { return columns_; }
  const host::GridColumn* FindColumn(std::string_view key) const;
  // Makes the row of that origin code current; false when there is none.
  bool MoveToOrigin(std::string_view origin);

  int apply_count = 0;
  int finish_count = 0;
  int refresh_layout_count = 0;
  int refresh_count = 0;
  int bind_count = 0;

 private:
  std::optional<host::GridLayout> layout_;
  std::vector<std::string> header_groups_;
  std::vector<host::GridColumn> columns_;
  std::shared_ptr<db::Recordset> data_source_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_MATRIX_GRID_H_
