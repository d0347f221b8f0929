// Shared set-up of the benchmarks that drive the editor.
//
// The benchmarks on a scaled installation build it once into a file beside
// the program (<stem>_scaled_<scale>.db) and reuse it in later runs; the
// environment picks the scale and the file:
//   ORV_CLIFOR_BENCH_SCALE  scale of clifor_bench (default 0.25)
//   ORV_CLIFOR_BENCH_DB     another database file for clifor_bench
//   ORV_NODES_BENCH_SCALE   scale of nodes_bench (default 0.2)
//   ORV_NODES_BENCH_DB      another database file for nodes_bench
//   ORV_PARAMETERS_BENCH_SCALE scale of parameters_bench (default 1)
//   ORV_PARAMETERS_BENCH_DB another database file for parameters_bench
//   ORV_TRANSFERS_BENCH_SCALE scale of the scaled matrix of transfers_bench
//                           (default 1)
//   ORV_TRANSFERS_BENCH_DB  another database file for it
//   ORV_DESKTOP_BENCH_SCALE scale of desktop_bench (default 1)
//   ORV_DESKTOP_BENCH_DB    another database file for desktop_bench
// The other figures of transfers_bench come from a temporary copy of the
// demo, enlarged at start.

#ifndef ORV_BENCH_BENCH_EDITOR_H_
#define ORV_BENCH_BENCH_EDITOR_H_

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bench_support.h"
#include "db/connection.h"
#include "editor/frmfw_orvelka.h"
#include "session/headless_host.h"

namespace orv::bench {

// The editor opened headlessly by the administrator in company 1, its
// messages discarded.
class BenchEditor {
 public:
  // `prepare` runs once the editor is open (principal, section, ...).
  explicit BenchEditor(const std::string& connection_string,
                       const std::function<void(BenchEditor&)>& prepare = {});

  session::HeadlessHost& host() { return host_; }
  editor::FRMFW_ORVELKA& window() { return *host_.window(); }
  std::shared_ptr<db::Connection> connection() { return window().connection(); }

  // The first column of the first row of `sql` as a number.
  int64_t Count(const std::string& sql);
  // Selects the user as the principal; with the query, the user it names.
  void User(int64_t id) {
    user_ = id;
    host_.SelectPrincipal(host::PrincipalNode::kUser, id);
  }
  void User(const std::string& sql) { User(Count(sql)); }
  // The user selected last.
  int64_t user() const { return user_; }

  // The section object (or interface) of type T the modules added; aborts
  // when there is none, as no figure means anything then.
  template <typename T>
  T& Section() {
    for (const auto& s : window().sections()) {
      if (auto* found = dynamic_cast<T*>(s.get())) return *found;
    }
    std::abort();
  }

 private:
  session::HeadlessHost host_;
  int64_t user_ = 0;
};

}  // namespace orv::bench

#endif  // ORV_BENCH_BENCH_EDITOR_H_
