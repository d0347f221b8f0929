#ifndef ORV_TESTS_SECTIONS_TREE_EDITOR_H_
#define ORV_TESTS_SECTIONS_TREE_EDITOR_H_

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sections/section_editor.h"

namespace orv::testing {

// The editor with helpers for TGRID_CLIFOR, the tree grid of the
// customer/supplier and article-family sections.
//
// With `count_reloads` the two per-principal reload procedures are replaced
// by ones that only record their argument ("U<id>" or "G<id>") in
// T_RELOADS, so that tests see how often the editor ran them.
class TreeEditor : public SectionEditor {
 public:
  // A row of the tree rowset: field name -> text ("<null>" for Null).
  using Row = std::map<std::string, std::string>;

  explicit TreeEditor(bool count_reloads = true);

  // A click on a box of TGRID_CLIFOR, by row key.
  void Click(std::string_view key, std::string_view column = "CHECKED") {
    host().ClickGrid("TGRID_CLIFOR", key, column);
  }
  // The disable-all button, answering the question with `answer`.
  void DisableAll(int32_t answer);

  // The tree rowset's rows in order; the row with that key (empty when none).
  std::vector<Row> Rows();
  Row RowByKey(std::string_view key);
  // The field of the row with that key ("<none>" when there is no such row).
  std::string Cell(std::string_view key, std::string_view field);
  // The family rights "INSERIMENTO MODIFICA ELIMINAZIONE" of a row, run
  // together ("100").
  std::string Boxes(std::string_view key) {
    return Cell(key, "INSERIMENTO") + Cell(key, "MODIFICA") + Cell(key, "ELIMINAZIONE");
  }

  // The reload procedures run since the start (with count_reloads).
  std::vector<std::string> Reloads();
};

}  // namespace orv::testing

#endif  // ORV_TESTS_SECTIONS_TREE_EDITOR_H_
