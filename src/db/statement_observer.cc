#include "db/statement_observer.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "db/sql_literal.h"

namespace orv::db {
namespace {

std::mutex& ObserversMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<StatementObserver*>& Observers() {
  static std::vector<StatementObserver*> observers;
  return observers;
}

std::atomic<size_t> g_observer_count{0};

}  // namespace

std::string SentStatement::HostText() const {
  if (!procedure) return std::string(text);
  std::string out = "EXEC " + std::string(text);
  bool first = true;
  for (size_t i = 0; parameters != nullptr && i < parameters->size(); ++i) {
    const ParameterInfo& p = (*parameters)[i];
    if (p.direction == ParameterDirection::kOutput ||
        p.direction == ParameterDirection::kReturnValue) {
      continue;
    }
    const Value value = values != nullptr && i < values->size() ? (*values)[i] : Value::Null();
    out += first ? " " : ", ";
    first = false;
    if (!p.name.empty()) out += (p.name.front() == '@' ? "" : "@") + p.name + " = ";
    out += SqlLiteral(value);
  }
  return out;
}

void StatementObserver::Add(StatementObserver* observer) {
  std::lock_guard lock(ObserversMutex());
  auto& list = Observers();
  if (std::find(list.begin(), list.end(), observer) != list.end()) return;
  list.push_back(observer);
  g_observer_count = list.size();
}

void StatementObserver::Remove(StatementObserver* observer) {
  std::lock_guard lock(ObserversMutex());
  auto& list = Observers();
  list.erase(std::remove(list.begin(), list.end(), observer), list.end());
  g_observer_count = list.size();
}

void StatementObserver::Notify(const SentStatement& statement) {
  if (g_observer_count == 0) return;
  std::lock_guard lock(ObserversMutex());
  for (StatementObserver* observer : Observers()) observer->OnStatement(statement);
}

}  // namespace orv::db
