#ifndef ORV_HOSTAPP_HOST_SESSION_H_
#define ORV_HOSTAPP_HOST_SESSION_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "hostapp/host_global.h"
#include "hostapp/host_navigator.h"
#include "zere_orvelka/zere_orvelka.h"

namespace orv::editor {
class FRMFW_ORVELKA;
}
namespace orv::host {
class Cinterface;
}

namespace orv::hostapp {

// One run of the editor inside the desktop host: the host's services for a
// login and a working company, the module object made through the
// library's C entry points (orv_create_object "CLSFW_ORVELKA"), its
// properties written as a host writes them, ShowForm and CloseForm.
class HostSession {
 public:
  struct Options {
    std::string connection_string;
    std::string login = "admin";
    std::optional<int32_t> company;  // default: the lowest CG18_DITTA
    bool modal = false;
    bool unattended = false;  // message boxes answered without showing them
    // Remember size, principal and section between runs (QSettings).
    bool remember = false;
    std::string caption = "Gestione Autorizzazioni";
  };

  // A login and the companies, read from the host database (for pickers).
  struct Login {
    std::string login;
    std::string name;
    bool administrator = false;
  };
  struct Company {
    int32_t ditta = 0;
    std::string name;
  };
  static std::vector<Login> ReadLogins(const std::string& connection_string);
  static std::vector<Company> ReadCompanies(const std::string& connection_string);

  // Reads the login's administrator flag (FW07_FLGADMIN) and the company.
  // Throws std::runtime_error, with a message for the user, for an unknown
  // login, a database without a company or one that cannot be opened.
  explicit HostSession(Options options);
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // Creates the module object and shows the editor. Throws
  // std::runtime_error when the module cannot be created.
  void Open();
  // CloseForm: true when the window is gone.
  bool Close();
  // Raises ChangeDitta; true when the module refused.
  bool RequestCompanyChange();
  // The start-up turned the login away (not an administrator): no window.
  bool Refused() { return !global_->IsAdministrator() && window() == nullptr; }

  HostGlobal& global() { return *global_; }
  HostNavigator& navigator() { return *navigator_; }
  QtHostUi& ui() { return global_->ui(); }
  editor::FRMFW_ORVELKA* window() { return global_->ui().window(); }
  host::Cinterface* module() const;
  const Options& options() const { return options_; }

 private:
  struct ObjectDeleter {
    void operator()(orv_object* object) const { orv_release_object(object); }
  };

  Options options_;
  std::shared_ptr<HostGlobal> global_;
  std::shared_ptr<HostNavigator> navigator_;
  std::unique_ptr<orv_object, ObjectDeleter> object_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_SESSION_H_
