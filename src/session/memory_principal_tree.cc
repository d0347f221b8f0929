#include "session/memory_principal_tree.h"

#include "db/connection.h"
#include "db/recordset.h"
#include "host/err_object.h"

namespace orv::session {
namespace {

std::string Text(const db::Value& value) { return value.IsNull() ? std::string() : value.ToText(); }

}  // namespace

void MemoryPrincipalTree::Initialize(std::shared_ptr<host::Cinterface> host, bool /*flag*/) {
  host_ = std::move(host);
  initialized_ = true;
}

void MemoryPrincipalTree::Load() {
  std::shared_ptr<db::Connection> connection = provider_ ? provider_() : nullptr;
  if (!connection) host::ThrowObjectNotSet("connection of the principal tree");
  std::vector<store::PrincipalNode> nodes;
  auto groups = connection->Execute(
      "SELECT FW06_ID, FW06_CODICE, FW06_DESCR FROM FW06_GROUPUSR ORDER BY FW06_CODICE");
  for (; groups && !groups->IsEof(); groups->MoveNext()) {
    std::string name = db::Trim(Text(groups->Field("FW06_DESCR")));
    if (name.empty()) name = db::Trim(Text(groups->Field("FW06_CODICE")));
    nodes.push_back({store::PrincipalNode::kGroup, groups->Field("FW06_ID").ToInt64(), name});
  }
  auto users = connection->Execute(
      "SELECT FW07_ID, FW07_NOMEUTENTE FROM FW07_APPUSER ORDER BY FW07_NOMEUTENTE");
  for (; users && !users->IsEof(); users->MoveNext()) {
    nodes.push_back({store::PrincipalNode::kUser, users->Field("FW07_ID").ToInt64(),
                     db::Trim(Text(users->Field("FW07_NOMEUTENTE")))});
  }
  nodes_ = std::move(nodes);
  loaded_ = true;
  ++load_count_;
}

bool MemoryPrincipalTree::Select(int32_t kind, int64_t id) {
  if (!loaded_) Load();
  const bool group = kind == store::PrincipalNode::kGroup;
  for (const store::PrincipalNode& node : nodes_) {
    if (node.IsGroup() == group && node.id == id) {
      selected_ = node;
      return true;
    }
  }
  return false;
}

}  // namespace orv::session
