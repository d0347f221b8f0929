#ifndef ORV_SESSION_ANSWER_QUEUE_H_
#define ORV_SESSION_ANSWER_QUEUE_H_

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace orv::session {

// Answers queued for the next message boxes and log-class questions of a
// headless session, in order. A box that finds no answer is recorded as
// unanswered (the session stops after the command) and gets the answer that
// changes nothing.
class AnswerQueue {
 public:
  void Push(int32_t answer) { answers_.push_back(answer); }
  std::optional<int32_t> Pop() {
    if (answers_.empty()) return std::nullopt;
    const int32_t answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
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
  std::deque<int32_t> answers_;
  std::optional<std::string> unanswered_;
  bool strict_ = true;
};

}  // namespace orv::session

#endif  // ORV_SESSION_ANSWER_QUEUE_H_
