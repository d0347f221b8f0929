#ifndef ORV_HOSTAPP_FORM_VIEW_H_
#define ORV_HOSTAPP_FORM_VIEW_H_

#include <QWidget>
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

 signals:
  void captionChanged(const QString& caption);

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

  std::shared_ptr<editor::FRMFW_ORVELKA> window_;
  QtControls controls_;
  double dpi_;
  std::map<std::string, QWidget*> widgets_;
  std::vector<std::pair<editor::Control*, int>> observers_;
  bool applying_size_ = false;
  QTreeView* grid_view_ = nullptr;
  QTreeView* tree_grid_view_ = nullptr;
  QTableView* matrix_view_ = nullptr;
  PrincipalTreeView* tree_view_ = nullptr;
  PrincipalTreeView* copy_tree_view_ = nullptr;
  QAbstractItemView* side_bar_view_ = nullptr;
  QueryPanel* query_panel_ = nullptr;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_FORM_VIEW_H_
