// Arbitrary bytes as a session script: the reader must either hand out
// commands that pass its own check or throw ScriptError naming a line of
// the script; a word it quotes must split back into the same word.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "session/script_error.h"
#include "session/script_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using orv::session::ScriptCommand;
  using orv::session::ScriptError;
  using orv::session::ScriptReader;
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::istringstream in(text);
  ScriptReader reader(in);
  int last_line = 0;
  try {
    while (std::optional<ScriptCommand> command = reader.Next()) {
      if (command->line <= last_line || command->words.empty()) std::abort();
      last_line = command->line;
      ScriptReader::Check(*command);  // what Next handed out passes again
      if (command->rows.size() != command->row_texts.size()) std::abort();
      for (const std::string& word : command->words) {
        const auto again = ScriptReader::Split(ScriptReader::Quote(word));
        if (again.size() != 1 || again[0] != word) std::abort();
      }
    }
  } catch (const ScriptError&) {
    if (reader.error_line() <= last_line) std::abort();
  }
  return 0;
}
