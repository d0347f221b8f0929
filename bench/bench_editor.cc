#include "bench_editor.h"

#include <cstdint>

#include "db/recordset.h"

namespace orv::bench {

BenchEditor::BenchEditor(const std::string& connection_string,
                         const std::function<void(BenchEditor&)>& prepare) {
  host_.SetOutput([](std::string_view) {});
  session::HeadlessOptions options;
  options.connection_string = connection_string;
  options.login = "admin";
  options.company = 1;
  host_.Open(options);
  if (prepare) prepare(*this);
}

int64_t BenchEditor::Count(const std::string& sql) {
  return connection()->Execute(sql)->Field(0).ToInt64();
}

}  // namespace orv::bench
