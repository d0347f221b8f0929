// orvelka-statements: replays session scripts on fresh demo installations
// and writes every distinct statement the data layer handed to a driver, in
// the host dialect (procedure calls as EXEC), each followed by a "GO" line.
// The schema's own batches are added with --schema. The statement check of
// .ci/run (scripts/check_statements.sh) parses the result.
//
//   orvelka-statements [--schema] OUT SCRIPT...
//
// Exit codes: 0 done, 1 a script failed or OUT could not be written, 2 bad
// command line.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/statement_trace.h"
#include "hostdb/install_script.h"
#include "hostdb/temporary_demo_database.h"
#include "session/session_script.h"

namespace {

// Every distinct statement, in the order first sent: the sessions' (through
// a statement trace every connection starts with) and the schema's batches.
class Collector {
 public:
  Collector() : trace_(std::make_shared<orv::db::StatementTrace>(nullptr, nullptr)) {
    orv::db::Connection::SetDefaultStatementObserver(trace_, "session");
  }
  ~Collector() { orv::db::Connection::SetDefaultStatementObserver(nullptr); }
  Collector(const Collector&) = delete;
  Collector& operator=(const Collector&) = delete;

  void AddBatch(std::string text) { batches_.push_back(std::move(text)); }

  std::vector<std::string> statements() const {
    std::vector<std::string> all = batches_;
    std::set<std::string> seen(all.begin(), all.end());
    for (const std::string& text : trace_->distinct()) {
      if (seen.insert(text).second) all.push_back(text);
    }
    return all;
  }
  int64_t sent() const { return trace_->count(); }

 private:
  std::shared_ptr<orv::db::StatementTrace> trace_;
  std::vector<std::string> batches_;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool schema = false;
  if (!args.empty() && args.front() == "--schema") {
    schema = true;
    args.erase(args.begin());
  }
  if (args.empty()) {
    std::fprintf(stderr, "usage: orvelka-statements [--schema] OUT SCRIPT...\n");
    return 2;
  }
  const std::string out_path = args.front();
  args.erase(args.begin());

  int status = 0;
  // The first demo database of the process is built, the others copied: the
  // build's own statements (the schema and the demo rows, checked through
  // --schema and the installation script) are not the sessions'.
  { orv::hostdb::TemporaryDemoDatabase warm_up; }
  Collector collector;
  if (schema) {
    for (std::string& batch : orv::hostdb::InstallScript::SchemaBatches()) {
      collector.AddBatch(std::move(batch));
    }
  }
  for (const std::string& script : args) {
    std::ifstream in(script);
    if (!in) {
      std::fprintf(stderr, "orvelka-statements: cannot read %s\n", script.c_str());
      return 2;
    }
    orv::hostdb::TemporaryDemoDatabase database;
    orv::session::SessionScript::Defaults defaults;
    defaults.connection_string = database.connection_string();
    std::ostringstream output, errors;
    orv::session::SessionScript session(defaults, output, errors);
    const int script_status = session.Run(in);
    if (script_status != 0) {
      std::fprintf(stderr, "orvelka-statements: %s ended with status %d\n%s", script.c_str(),
                   script_status, errors.str().c_str());
      status = 1;
    }
  }

  std::ofstream out(out_path, std::ios::binary | std::ios::trunc);
  const std::vector<std::string> statements = collector.statements();
  for (const std::string& statement : statements) {
    out << statement;
    if (statement.empty() || statement.back() != '\n') out << '\n';
    out << "GO\n";
  }
  out.close();
  if (!out) {
    std::fprintf(stderr, "orvelka-statements: cannot write %s\n", out_path.c_str());
    return 1;
  }
  std::fprintf(stderr, "orvelka-statements: %lld calls sent, %zu distinct statements, in %s\n",
               static_cast<long long>(collector.sent()), statements.size(), out_path.c_str());
  return status;
}
