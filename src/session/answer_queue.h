#ifndef ORV_SESSION_ANSWER_QUEUE_H_
#define ORV_SESSION_ANSWER_QUEUE_H_

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace orv::session {

// Answers queued for the next message boxes and log-class questions of a
// headless session, in order. A box that finds no answer is recorded as
// unanswered (the session stops after the command) and gets the answer that
// changes nothing. An answer may be scoped (to the command after a given
// script line), so that what that command leaves unused can be taken back.
class AnswerQueue {
 public:
  struct Entry {
    int32_t answer;
    int scope;  // 0: for any later box
  };

  void Push(int32_t answer, int scope = 0) { answers_.push_back({answer, scope}); }
  std::optional<int32_t> Pop() {
    if (answers_.empty()) return std::nullopt;
    const int32_t answer = answers_.front().answer;
    answers_.pop_front();
    return answer;
  }
  // The first answer without taking it.
  std::optional<int32_t> Peek() const {
    if (answers_.empty()) return std::nullopt;
    return answers_.front().answer;
  }
  // Takes out every answer of `scope` still queued and returns them.
  std::vector<int32_t> TakeScope(int scope) {
    std::vector<int32_t> taken;
    std::deque<Entry> kept;
    for (const Entry& e : answers_) {
      if (e.scope == scope) {
        taken.push_back(e.answer);
      } else {
        kept.push_back(e);
      }
    }
    answers_ = std::move(kept);
    return taken;
  }
  const std::deque<Entry>& entries() const { return answers_; }
  size_t size() const { return answers_.size(); }
  void Clear() { answers_.clear(); }

  // The prompt of the first box that found no answer since the last Reset.
  const std::optional<std::string>& unanswered() const { return unanswered_; }
  void MarkUnanswered(const std::string& prompt) {
    if (!unanswered_) unanswered_ = prompt;
  }
  void ResetUnanswered() { unanswered_.reset(); }

  // Fail on a box without an answer (scripts) or answer it silently (tests
  // that do not care about a message).
  bool strict() const { return strict_; }
  void set_strict(bool strict) { strict_ = strict; }

 private:
  std::deque<Entry> answers_;
  std::optional<std::string> unanswered_;
  bool strict_ = true;
};

}  // namespace orv::session

#endif  // ORV_SESSION_ANSWER_QUEUE_H_
