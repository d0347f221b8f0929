#ifndef ORV_HOSTAPP_MAIN_WINDOW_H_
#define ORV_HOSTAPP_MAIN_WINDOW_H_

#include <QMainWindow>

namespace orv::hostapp {

class FormView;

// The host's frame around the editor window: menus (change log, journal,
// close; undo and redo; help), a status line that says what the last gesture did beside the login
// and the company, and the events a host passes on: activation and
// the user's request to close, which the host turns into CloseForm (the
// frame itself never closes on its own).
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(FormView* view, QWidget* parent = nullptr);

  FormView* view() const { return view_; }
  // The login and the company, at the right of the status bar.
  void SetStatus(const QString& text);
  // What the last gesture did (object name "GestureStatus").
  void SetGestureStatus(const QString& text);
  // Sizes the frame so that the editor's area is `size`, within the
  // screen's available area.
  void FitView(const QSize& size);
  // `wanted` cut to `available` (unchanged when `available` is invalid).
  static QSize Fitted(const QSize& wanted, const QRect& available);
  // Puts the help menu back at the end after menus were added.
  void KeepHelpLast();
  // Lets the next close event through (the window has unloaded).
  void AllowClose() { allow_close_ = true; }
  // The Edit menu's "Annulla <summary>" and "Ripeti <summary>": an empty
  // summary disables the action.
  void SetUndoRedo(const QString& undo_summary, const QString& redo_summary);
  // "Annulla" or "Ripeti" followed by a summary cut to a menu's width.
  static QString StepText(const QString& verb, const QString& summary);

 signals:
  void closeRequested();
  void activated();
  void changeLogRequested();
  void journalRequested();
  void undoRequested();
  void redoRequested();
  // The Edit menu is about to open (its texts are read again).
  void editMenuShown();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  FormView* view_;
  bool allow_close_ = false;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_MAIN_WINDOW_H_
