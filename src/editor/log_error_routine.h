#ifndef ORV_EDITOR_LOG_ERROR_ROUTINE_H_
#define ORV_EDITOR_LOG_ERROR_ROUTINE_H_

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace orv::editor {

class FRMFW_ORVELKA;
class SectionContext;

// A routine that reports through LogError: each statement runs through
// Run(). When a statement fails the window's LogError asks the host's log
// class; abort (3) ends the routine (every later Run does nothing), retry (4)
// runs the same statement again, ignore (5) goes on with the next one.
//
// No message box waits while the window's connection holds a transaction: a
// statement failing inside one is not asked about there but thrown up as a
// host::DeferredError to the code that owns the transaction. When that code
// runs the whole transaction inside Run() (or RunGesture()), the question is
// asked there, after the rollback, under the failing routine's name, and
// retry runs the whole transaction again.
//
//   LogErrorRoutine routine(window, "GetTempTableName");
//   routine.Run([&] { rs = connection.Execute("SELECT NEWID()"); });
//   routine.Run([&] { name = ...; });
class LogErrorRoutine {
 public:
  LogErrorRoutine(FRMFW_ORVELKA& window, std::string name);
  // A section's routine, on its window.
  LogErrorRoutine(const SectionContext& context, std::string name);

  // Runs one statement; false when the routine was aborted (now or before).
  bool Run(const std::function<void()>& statement);

  // Runs a gesture that opens and commits its own transaction: only the
  // errors other routines deferred inside it are asked about here (after
  // the rollback; retry runs the gesture again); any other error goes on to
  // the caller. False when a deferred error ended it.
  bool RunGesture(const std::function<void()>& gesture);

  bool aborted() const { return aborted_; }
  const std::string& name() const { return name_; }

 private:
  // True while the window's connection holds a transaction.
  bool InTransaction() const;
  // Asks the log class about `error` (under `routine`) and applies the
  // answer: true to run again.
  bool AskAgain(const std::string& routine, const std::exception_ptr& error);

  FRMFW_ORVELKA& window_;
  std::string name_;
  bool aborted_ = false;
};

}  // namespace orv::editor

#endif  // ORV_EDITOR_LOG_ERROR_ROUTINE_H_
