#ifndef ORV_HOSTAPP_LOGIN_DIALOG_H_
#define ORV_HOSTAPP_LOGIN_DIALOG_H_

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "hostapp/host_session.h"

class QComboBox;

namespace orv::hostapp {

// Picks the login and the working company the host runs the editor with,
// when the command line gave neither.
class LoginDialog : public QDialog {
  Q_OBJECT

 public:
  LoginDialog(const std::vector<HostSession::Login>& logins,
              const std::vector<HostSession::Company>& companies,
              const std::optional<std::string>& login, const std::optional<int32_t>& company,
              QWidget* parent = nullptr);

  std::string login() const;
  int32_t company() const;

 private:
  QComboBox* logins_;
  QComboBox* companies_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_LOGIN_DIALOG_H_
