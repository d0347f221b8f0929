#ifndef ORV_HOSTAPP_HOST_CHANGE_LOG_H_
#define ORV_HOSTAPP_HOST_CHANGE_LOG_H_

#include <functional>
#include <memory>
#include <string>

#include "zere_orvelka/change_log.h"

namespace orv::db {
class Connection;
}

namespace orv::hostapp {

// The host's change log: each entry is a row of FW90_LOGMODIFICHE (time,
// login, event number, text) written through the host's own connection.
class HostChangeLog : public host::ChangeLog {
 public:
  using ConnectionProvider = std::function<std::shared_ptr<db::Connection>()>;
  // FW90_TESTO holds at most this many characters.
  static constexpr size_t kMaxText = 4000;

  HostChangeLog(ConnectionProvider provider, std::string login);

  std::string FormatGroup(std::string_view group_name) override;
  std::string FormatUser(std::string_view user_name) override;
  std::string FormatDetail(int32_t number, std::string_view text) override;
  // Throws the connection's error when the row cannot be written.
  void WriteEntry(int32_t event_number, std::string_view text) override;

  int written() const { return written_; }

 private:
  ConnectionProvider provider_;
  std::string login_;
  int written_ = 0;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_CHANGE_LOG_H_
