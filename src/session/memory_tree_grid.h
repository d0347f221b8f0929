#ifndef ORV_SESSION_MEMORY_TREE_GRID_H_
#define ORV_SESSION_MEMORY_TREE_GRID_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/recordset.h"
#include "host/grid_column.h"
#include "zere_orvelka/tree_grid.h"

namespace orv::session {

// The tree grid of the headless host. Rows are found by the key field of
// the tree settings ("KEY"); the display order is the recordset order.
class MemoryTreeGrid : public host::TreeGrid {
 public:
  void ClearColumns() override { columns_.clear(); }
  void SetTreeSettings(const host::TreeSettings& settings) override { settings_ = settings; }
  void SetDisplayOptions(bool option1, bool option2) override { options_ = {option1, option2}; }
  void AddTextColumn(std::string_view key, std::string_view field, std::string_view caption,
                     int32_t kind, int32_t width, bool shown) override;
  void AddCheckBoxColumn(std::string_view key, std::string_view field, std::string_view caption,
                         std::string_view checked_value, std::string_view unchecked_value,
                         bool flag, int32_t width, bool flag2, bool flag3) override;
  void CloseColumns() override { ++close_count; }
  int32_t ColumnIndex(std::string_view key) const override;
  std::string ColumnKey(int32_t index) const override;
  // Only the module's recordsets are bound: other rows leave the grid empty.
  void SetDataSource(std::shared_ptr<host::RowSource> rows) override;
  std::shared_ptr<host::RowSource> GetDataSource() const override { return data_source_; }
  // The bound recordset (null when none).
  const std::shared_ptr<db::Recordset>& recordset() const { return data_source_; }
  void Refresh() override { ++refresh_count; }

  const std::vector<host::GridColumn>& columns() const { return columns_; }
  const host::GridColumn* FindColumn(std::string_view key) const;
  const std::optional<host::TreeSettings>& settings() const { return settings_; }
  std::pair<bool, bool> options() const { return options_; }
  std::string key_field() const { return settings_ ? settings_->key_field : "KEY"; }
  // Makes the row with that key current; false when there is none.
  bool MoveToKey(std::string_view key);

  int close_count = 0;
  int refresh_count = 0;
  int bind_count = 0;

 private:
  std::vector<host::GridColumn> columns_;
  std::optional<host::TreeSettings> settings_;
  std::pair<bool, bool> options_{false, false};
  std::shared_ptr<db::Recordset> data_source_;
};

}  // namespace orv::session

#endif  // ORV_SESSION_MEMORY_TREE_GRID_H_
