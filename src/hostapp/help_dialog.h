#ifndef ORV_HOSTAPP_HELP_DIALOG_H_
#define ORV_HOSTAPP_HELP_DIALOG_H_

#include <QDialog>

class QTextBrowser;

namespace orv::hostapp {

// The user guide (docs/user-guide.md with its pictures, built into the
// program) in a window of its own: Help → Guida, or F1.
class HelpDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kGuide = "qrc:/help/user-guide.md";

  explicit HelpDialog(QWidget* parent = nullptr);

  QTextBrowser* browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HELP_DIALOG_H_
