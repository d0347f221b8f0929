#ifndef ZERE_ORVELKA_MESSAGE_SERVICE_H_
#define ZERE_ORVELKA_MESSAGE_SERVICE_H_

#include <cstdint>
#include <string_view>

namespace orv::host {

class HostForm;

// Message-box button codes (combined by addition) and result codes.
inline constexpr int32_t kVbOKOnly = 0;
inline constexpr int32_t kVbOKCancel = 1;
inline constexpr int32_t kVbAbortRetryIgnore = 2;
inline constexpr int32_t kVbYesNoCancel = 3;
inline constexpr int32_t kVbYesNo = 4;
inline constexpr int32_t kVbRetryCancel = 5;
inline constexpr int32_t kVbCritical = 16;
inline constexpr int32_t kVbQuestion = 32;
inline constexpr int32_t kVbExclamation = 48;
inline constexpr int32_t kVbInformation = 64;
inline constexpr int32_t kVbDefaultButton2 = 256;
inline constexpr int32_t kVbSystemModal = 4096;

inline constexpr int32_t kVbOK = 1;
inline constexpr int32_t kVbCancel = 2;
inline constexpr int32_t kVbAbort = 3;
inline constexpr int32_t kVbRetry = 4;
inline constexpr int32_t kVbIgnore = 5;
inline constexpr int32_t kVbYes = 6;
inline constexpr int32_t kVbNo = 7;

// The host's message service: a blocking message box. Called on the host's
// user-interface thread only; `owner` may be null and is only borrowed for
// the duration of the call.
class MessageService {
 public:
  virtual ~MessageService() = default;
  // Returns one of the result codes above.
  virtual int32_t Show(std::string_view prompt, int32_t buttons, std::string_view title,
                       const HostForm* owner) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_MESSAGE_SERVICE_H_
