#ifndef ORV_HOSTAPP_FORM_VIEW_H_
#define ORV_HOSTAPP_FORM_VIEW_H_

#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/control.h"
#include "hostapp/qt_controls.h"

class QAbstractItemView;
class QTableView;
class QTreeView;

namespace orv::editor {
class FRMFW_ORVELKA;
}

namespace orv::hostapp {

class PrincipalTreeView;
class QtMessageService;
class QueryPanel;

// The editor window on screen. Every control of the window (frames,
// buttons, labels, check boxes, text boxes, pictures, the splitter, and the
// places of the host controls) becomes a widget named after the control,
// placed in its container at its position in twips converted to pixels
// (px = twips * dpi / 1440); observers keep each widget in step with its
// control. User gestures go to the window's handlers. The view holds no
// logic of its own.
class FormView : public QWidget {
  Q_OBJECT

 public:
  FormView(std::shared_ptr<editor::FRMFW_ORVELKA> window, QtControls controls, double dpi,
           QWidget* parent = nullptr);
  ~FormView() override;

  editor::FRMFW_ORVELKA& window() const { return *window_; }
  const QtControls& controls() const { return controls_; }
  double dpi() const { return dpi_; }
  // The widget of a control (null for an unknown name).
  QWidget* WidgetOf(const std::string& name) const;
  // The design size of the window in pixels.
  QSize DesignSize() const;

  QTreeView* grid_view() const { return grid_view_; }
  QTreeView* tree_grid_view() const { return tree_grid_view_; }
  QTableView* matrix_view() const { return matrix_view_; }
  PrincipalTreeView* tree_view() const { return tree_view_; }
  PrincipalTreeView* copy_tree_view() const { return copy_tree_view_; }
  QAbstractItemView* side_bar_view() const { return side_bar_view_; }
  QueryPanel* query_panel() const { return query_panel_; }

  // The boxes asked for during a gesture tell whether it failed.
  void SetMessageService(QtMessageService* messages) { messages_ = messages; }
  // The title over the grids: the section and the principal whose rights
  // are shown ("Depositi — Gruppo: Ufficio vendite").
  QString TitleText() const;
  // The principal as a status line names it ("il gruppo Ufficio vendite").
  QString PrincipalPhrase() const;
  // Runs one user gesture under the busy cursor; afterwards statusMessage
  // says what changed on screen or what went wrong. `describe` gets the
  // change in checked boxes of the visible grid (negative: revoked).
  void RunGesture(const std::function<void()>& gesture,
                  const std::function<QString(int delta)>& describe);
  // Makes current the next row of the grid on screen (after the current
  // one with `next`, else from it) whose text contains `text`; false when
  // none does.
  bool FindInGrid(const QString& text, bool next);
  // A load (principal or section picked), under the busy cursor.
  void RunLoad(const std::function<void()>& load);

 signals:
  void captionChanged(const QString& caption);
  void statusMessage(const QString& text);
  // The splitter between the tree and the sections was moved; `split` is
  // the pane's total shift in twips.
  void splitChanged(int split);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QWidget* Create(editor::Control& control, QWidget* parent);
  QWidget* CreateHost(const std::string& name, QWidget* parent);
  void Apply(const editor::Control& control, editor::Control::Property property);
  void ApplyAll(const editor::Control& control);
  void ApplyGridWidths();
  void ApplyTreeWidths();
  void ApplyMatrixWidths();
  int Px(int32_t twips) const;
  void UpdateTitle();
  void UpdatePrincipalControls();
  void ApplyEnabled(const editor::Control& control, QWidget* widget);
  void ButtonGesture(const std::string& name);
  void WatchCells(QAbstractItemView* view);
  // Buttons on one row of a container never cover each other nor their
  // captions: each is at least as wide as its text and starts after the
  // one before it.
  void SpreadButtons(const std::string& container);
  // Puts the splitter handle in the gap right of the user/group pane.
  void PlaceSplitter();
  void MasterSwitchClicked(bool checked);
  QAbstractItemView* VisibleGrid() const;
  int CheckedCells() const;
  // What went wrong in the boxes shown since `first` (empty when nothing).
  QString Failure(size_t first) const;

  std::shared_ptr<editor::FRMFW_ORVELKA> window_;
  QtControls controls_;
  double dpi_;
  std::map<std::string, QWidget*> widgets_;
  std::vector<std::pair<editor::Control*, int>> observers_;
  bool applying_size_ = false;
  QTreeView* grid_view_ = nullptr;
  QTreeView* tree_grid_view_ = nullptr;
  bool tree_expand_pending_ = false;  // the tree's branches open once the gesture ends
  QTableView* matrix_view_ = nullptr;
  PrincipalTreeView* tree_view_ = nullptr;
  PrincipalTreeView* copy_tree_view_ = nullptr;
  QAbstractItemView* side_bar_view_ = nullptr;
  QueryPanel* query_panel_ = nullptr;
  QtMessageService* messages_ = nullptr;
  QWidget* splitter_ = nullptr;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_FORM_VIEW_H_
