#include "hostapp/host_change_log.h"

#include <QDateTime>

#include "db/connection.h"
#include "db/sql_literal.h"
#include "host/err_object.h"

namespace orv::hostapp {

HostChangeLog::HostChangeLog(ConnectionProvider provider, std::string login)
    : provider_(std::move(provider)), login_(std::move(login)) {}

std::string HostChangeLog::FormatGroup(std::string_view group_name) {
  if (group_name.empty()) return {};
  return "Gruppo: " + std::string(group_name) + "; ";
}

std::string HostChangeLog::FormatUser(std::string_view user_name) {
  if (user_name.empty()) return {};
  return "Utente: " + std::string(user_name) + "; ";
}

std::string HostChangeLog::FormatDetail(int32_t number, std::string_view text) {
  return std::to_string(number) + ": " + std::string(text) + "; ";
}

void HostChangeLog::WriteEntry(int32_t event_number, std::string_view text) {
  std::shared_ptr<db::Connection> connection = provider_ ? provider_() : nullptr;
  if (!connection) host::ThrowObjectNotSet("connection of the change log");
  // Cut on a character boundary: the text is UTF-8.
  std::string kept(text);
  if (kept.size() > kMaxText) {
    size_t cut = kMaxText;
    while (cut > 0 && (static_cast<unsigned char>(kept[cut]) & 0xC0) == 0x80) --cut;
    kept.resize(cut);
  }
  const std::string now =
      QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd HH:mm:ss")).toStdString();
  connection->Execute(
      "INSERT INTO FW90_LOGMODIFICHE (FW90_DATAORA, FW90_LOGIN, FW90_EVENTO, FW90_TESTO) VALUES (" +
      db::SqlQuote(now) + ", " + db::SqlQuote(login_) + ", " + std::to_string(event_number) + ", " +
      db::SqlQuote(kept) + ")");
  ++written_;
}

}  // namespace orv::hostapp
