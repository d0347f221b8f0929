#ifndef ZERE_ORVELKA_CLS_GLOBAL_H_
#define ZERE_ORVELKA_CLS_GLOBAL_H_

#include <cstdint>
#include <memory>
#include <string>

namespace orv::host {

class ChangeLog;
class Cinterface;
class LogClass;
class LookupObject;
class MessageService;

// The host's global services (Cinterface::ClsGlobal). Everything is called on
// the host's user-interface thread. Pointers returned are owned by the host
// object and stay valid while the module holds the ClsGlobal.
class ClsGlobal {
 public:
  virtual ~ClsGlobal() = default;

  // Connection settings: the full connection string of the host database;
  // the window opens its own connection with it.
  virtual std::string ConnectionString() const = 0;
  // True only for the installation's administrator.
  virtual bool IsAdministrator() const = 0;
  // The working company's code (CG18_DITTA), fixed while the module runs.
  virtual int32_t CurrentCompany() const = 0;
  // The login of the user working in the host.
  virtual std::string Login() const = 0;
  // The application title the log class shows.
  virtual std::string ApplicationTitle() const = 0;

  // Null when the host has no such service.
  virtual MessageService* GetMessageService() = 0;
  virtual ChangeLog* GetChangeLog() = 0;
  // A new log object for one window.
  virtual std::unique_ptr<LogClass> CreateLogClass() = 0;
  // One of the seven project lookup services (LookupObject::Kind); null when
  // the host has none.
  virtual std::shared_ptr<LookupObject> CreateLookupObject(int kind) = 0;

  // Later host modules honour this flag.
  virtual void SetRevocationEnabled(bool enabled) = 0;
  // Activation: the active module's interface (borrowed until ForgetModule).
  virtual void SetActiveModule(Cinterface* module) = 0;
  // The window closed: forget `module`.
  virtual void ForgetModule(Cinterface* module) = 0;
  // Handed once when the window starts (the application object is the module
  // interface in this host).
  virtual void SetApplication(Cinterface* module) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_CLS_GLOBAL_H_
