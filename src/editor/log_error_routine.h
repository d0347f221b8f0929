#ifndef ORV_EDITOR_LOG_ERROR_ROUTINE_H_
#define ORV_EDITOR_LOG_ERROR_ROUTINE_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orv::editor {

class FRMFW_ORVELKA;

// A routine that reports through LogError: each statement runs through
// Run(). When a statement fails the window's LogError asks the host's log
// class; abort (3) ends the routine (every later Run does nothing), retry (4)
// runs the same statement again, ignore (5) goes on with the next one.
//
//   LogErrorRoutine routine(window, "GetTempTableName");
//   routine.Run([&] { rs = connection.Execute("SELECT NEWID()"); });
//   routine.Run([&] { name = ...; });
class LogErrorRoutine {
 public:
  LogErrorRoutine(FRMFW_ORVELKA& window, std::string name);

  // Runs one statement; false when the routine was aborted (now or before).
  bool Run(const std::function<void()>& statement);

  bool aborted() const { return aborted_; }
  const std::string& name() const { return name_; }

 private:
  FRMFW_ORVELKA& window_;
  std::string name_;
  bool aborted_ = false;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_LOG_ERROR_ROUTINE_H_
