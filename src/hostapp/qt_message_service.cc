#include "hostapp/qt_message_service.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cstdio>

#include "host/fallback_message_box.h"

namespace orv::hostapp {
namespace {

struct Choice {
  QMessageBox::StandardButton button;
  int32_t code;
};

std::vector<Choice> ChoicesOf(int32_t buttons) {
  switch (buttons & 7) {
    case host::kVbOKCancel:
      return {{QMessageBox::Ok, host::kVbOK}, {QMessageBox::Cancel, host::kVbCancel}};
    case host::kVbAbortRetryIgnore:
      return {{QMessageBox::Abort, host::kVbAbort},
              {QMessageBox::Retry, host::kVbRetry},
              {QMessageBox::Ignore, host::kVbIgnore}};
    case host::kVbYesNoCancel:
      return {{QMessageBox::Yes, host::kVbYes},
              {QMessageBox::No, host::kVbNo},
              {QMessageBox::Cancel, host::kVbCancel}};
    case host::kVbYesNo:
      return {{QMessageBox::Yes, host::kVbYes}, {QMessageBox::No, host::kVbNo}};
    case host::kVbRetryCancel:
      return {{QMessageBox::Retry, host::kVbRetry}, {QMessageBox::Cancel, host::kVbCancel}};
    default:
      return {{QMessageBox::Ok, host::kVbOK}};
  }
}

QMessageBox::Icon IconOf(int32_t buttons) {
  switch (buttons & 0x70) {
    case host::kVbCritical:
      return QMessageBox::Critical;
    case host::kVbQuestion:
      return QMessageBox::Question;
    case host::kVbExclamation:
      return QMessageBox::Warning;
    case host::kVbInformation:
      return QMessageBox::Information;
    default:
      return QMessageBox::NoIcon;
  }
}

}  // namespace

int32_t QtMessageService::RunBox(std::string_view prompt, int32_t buttons, std::string_view title,
                                 QWidget* parent) {
  QMessageBox box(parent != nullptr ? parent : QApplication::activeWindow());
  box.setObjectName(QStringLiteral("HostMessageBox"));
  box.setIcon(IconOf(buttons));
  box.setWindowTitle(QString::fromStdString(std::string(title)));
  box.setText(QString::fromStdString(std::string(prompt)));
  const std::vector<Choice> choices = ChoicesOf(buttons);
  QMessageBox::StandardButtons standard;
  for (const Choice& c : choices) standard |= c.button;
  box.setStandardButtons(standard);
  const size_t default_index = static_cast<size_t>((buttons & 0x300) >> 8);
  box.setDefaultButton(choices[std::min(default_index, choices.size() - 1)].button);
  // Escape answers with the button that changes nothing.
  const int32_t safe = host::SafeDefaultAnswer(buttons);
  for (const Choice& c : choices) {
    if (c.code == safe) box.setEscapeButton(c.button);
  }
  if (buttons & host::kVbSystemModal) box.setWindowModality(Qt::ApplicationModal);
  // A box asked for in the middle of a long gesture takes the normal cursor.
  QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  QApplication::restoreOverrideCursor();
  const auto clicked = box.standardButton(box.clickedButton());
  for (const Choice& c : choices) {
    if (c.button == clicked) return c.code;
  }
  return safe;
}

int32_t QtMessageService::Show(std::string_view prompt, int32_t buttons, std::string_view title,
                               const host::HostForm* /*owner*/) {
  const std::string shown_title = title.empty() ? default_title_ : std::string(title);
  int32_t answer = 0;
  if (!presets_.empty()) {
    answer = presets_.front();
    presets_.pop_front();
  } else if (unattended_) {
    answer = host::SafeDefaultAnswer(buttons);
    std::fprintf(stderr, "%s: %.*s [%d]\n", shown_title.c_str(), static_cast<int>(prompt.size()),
                 prompt.data(), answer);
  } else {
    answer = RunBox(prompt, buttons, shown_title, nullptr);
  }
  shown_.push_back({std::string(prompt), buttons, std::string(title), answer});
  return answer;
}

}  // namespace orv::hostapp
