#ifndef ORV_SECTIONS_NODES_NODE_SECTION_H_
#define ORV_SECTIONS_NODES_NODE_SECTION_H_

#include <memory>
#include <string>
#include <string_view>

#include "db/value.h"
#include "editor/section.h"
#include "sections/parameters/node_merge.h"

namespace orv::db {
class Recordset;
}

namespace orv::sections {

// The project-node section (33): the nodes of every project of the current
// company in GRIDTIPOLOGIE, narrowed by the filter bar, with one revocation
// row per revoked node in FW3N_RVKNODI.
//
// LoadData stages the catalogue in the window's temporary table, marks the
// rows that pass the filter (INCLUSA) and binds the marked rows, opened on
// the window's connection with their changes kept for a batch update. The
// shared grid click (parameters) writes a clicked row back to that table and
// calls ConfermaModificheNodi, whose MERGE makes the principal's rows of the
// company match the whole table, so rows hidden by the filter keep their
// revocations.
class NodeSection : public editor::Section, public NodeMerge {
 public:
  explicit NodeSection(editor::SectionContext context) : Section(context) {}

  std::string_view Name() const override { return "nodes"; }

  bool LoadData() override;
  bool InitEnquery() override;
  // "Aggiorna" (CMD_UPDATE): the nodes that pass the filter, filter bar closed.
  bool ButtonClick(std::string_view name) override;
  // Found in the current company; removed by marking the work table and
  // merging it (no removal statement).
  std::optional<editor::RevocationSet> EnableAllSet(const store::Principal& principal) override;
  bool RevokesGridRows() const override { return true; }
  bool QueryLookupDefinition(std::string_view caption, host::LookupDefinition& out) override;
  bool QueryFieldValue(std::string_view caption, std::string_view bound, std::string_view value,
                       std::string& out) override;
  void Unload() override;

  // Runs the MERGE for the principal (exactly one identifier set) through
  // LogError; false when it did not run (no principal, or abort/ignore after
  // an error), in which case FW3N_RVKNODI is unchanged.
  bool ConfermaModificheNodi(const db::Value& user_id, const db::Value& group_id) override;
  bool WorkTableBuiltFor(const store::Principal& principal) override;
  bool SaveNode(const store::Principal& principal, const db::Value& company,
                std::string_view project, std::string_view node, bool revoked) override;

  // The project codes last reported for the "Da" and "A" bounds of
  // "Progetto": a node is looked up within the project of its own bound.
  const std::string& project_from() const { return project_from_; }
  const std::string& project_to() const { return project_to_; }

 private:
  // Drops the grid's rows: they belong to a work table about to be replaced.
  void Unbind();
  void Bind(std::shared_ptr<db::Recordset> recordset);

  bool BuiltFor(const db::Value& user_id, const db::Value& group_id);

  std::string project_from_;
  std::string project_to_;
  // Whom the work table was last built for; `built_` is false until a build
  // completes and from the start of every build, so that a failed build
  // leaves nothing a gesture could write from.
  bool built_ = false;
  std::string built_user_;
  std::string built_group_;
  int64_t built_company_ = 0;
};

}  // namespace orv::sections

#endif  // ORV_SECTIONS_NODES_NODE_SECTION_H_
