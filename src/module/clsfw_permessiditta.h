#ifndef ORV_MODULE_CLSFW_PERMESSIDITTA_H_
#define ORV_MODULE_CLSFW_PERMESSIDITTA_H_

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/instance_id.h"
#include "host/live_objects.h"

namespace orv::host {

// The company permissions record: thirteen Boolean flags, all false when
// created. Writes "INI" and "TER" trace lines like the entry class.
class CLSFW_PERMESSIDITTA {
 public:
  // The flags in their order; their dispatch identifiers are
  // kFirstDispatchId + index.
  enum Flag {
    kAbilitazione,
    kInserimento,
    kModifica,
    kEliminazione,
    kScript,
    kLayout,
    kMultimedia,
    kOffice,
    kStampa,
    kAnteprima,
    kExportToFile,
    kMail,
    kFax,
    kFlagCount
  };
  static constexpr int32_t kFirstDispatchId = 0x40030000;
  static constexpr std::array<std::string_view, kFlagCount> kFlagNames = {
      "Abilitazione", "Inserimento", "Modifica",  "Eliminazione", "Script", "Layout", "Multimedia",
      "Office",       "Stampa",      "Anteprima", "ExportToFile", "Mail",   "Fax"};

  CLSFW_PERMESSIDITTA();
  ~CLSFW_PERMESSIDITTA();
  CLSFW_PERMESSIDITTA(const CLSFW_PERMESSIDITTA&) = delete;
  CLSFW_PERMESSIDITTA& operator=(const CLSFW_PERMESSIDITTA&) = delete;

  bool Get(Flag flag) const { return flags_[flag]; }
  void Set(Flag flag, bool value) { flags_[flag] = value; }
  // By name (exact) or by dispatch identifier.
  static std::optional<Flag> FlagByName(std::string_view name);
  static std::optional<Flag> FlagByDispatchId(int32_t id);

  bool Abilitazione() const { return flags_[kAbilitazione]; }
  void SetAbilitazione(bool v) { flags_[kAbilitazione] = v; }
  bool Inserimento() const { return flags_[kInserimento]; }
  void SetInserimento(bool v) { flags_[kInserimento] = v; }
  bool Modifica() const { return flags_[kModifica]; }
  void SetModifica(bool v) { flags_[kModifica] = v; }
  bool Eliminazione() const { return flags_[kEliminazione]; }
  void SetEliminazione(bool v) { flags_[kEliminazione] = v; }
  bool Script() const { return flags_[kScript]; }
  void SetScript(bool v) { flags_[kScript] = v; }
  bool Layout() const { return flags_[kLayout]; }
  void SetLayout(bool v) { flags_[kLayout] = v; }
  bool Multimedia() const { return flags_[kMultimedia]; }
  void SetMultimedia(bool v) { flags_[kMultimedia] = v; }
  bool Office() const { return flags_[kOffice]; }
  void SetOffice(bool v) { flags_[kOffice] = v; }
  bool Stampa() const { return flags_[kStampa]; }
  void SetStampa(bool v) { flags_[kStampa] = v; }
  bool Anteprima() const { return flags_[kAnteprima]; }
  void SetAnteprima(bool v) { flags_[kAnteprima] = v; }
  bool ExportToFile() const { return flags_[kExportToFile]; }
  void SetExportToFile(bool v) { flags_[kExportToFile] = v; }
  bool Mail() const { return flags_[kMail]; }
  void SetMail(bool v) { flags_[kMail] = v; }
  bool Fax() const { return flags_[kFax]; }
  void SetFax(bool v) { flags_[kFax] = v; }

  const std::string& InstanceIdText() { return instance_id_.Get(); }

 private:
  InstanceId instance_id_;
  LiveObjects::Token live_token_;
  std::array<bool, kFlagCount> flags_{};
};

}  // namespace orv::host

#endif  // ORV_MODULE_CLSFW_PERMESSIDITTA_H_
