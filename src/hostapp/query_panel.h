#ifndef ORV_HOSTAPP_QUERY_PANEL_H_
#define ORV_HOSTAPP_QUERY_PANEL_H_

#include <QWidget>
#include <memory>
#include <vector>

class QGridLayout;
class QLineEdit;

namespace orv::hostapp {

class QtQueryControl;

// The query control on screen: one line per field with its caption, a "Da"
// and an "A" box and a lookup button beside each. Editing a box hands the
// value to the control; the boxes then show the value the control kept.
// Object names: "ENHQUERY_<column>_Da", "ENHQUERY_<column>_A" and the same
// with "_lookup".
class QueryPanel : public QWidget {
  Q_OBJECT

 public:
  QueryPanel(std::shared_ptr<QtQueryControl> control, QWidget* parent = nullptr);

  // Builds the lines again from the control's fields.
  void Rebuild();
  // Shows the bounds the control holds.
  void ShowValues();

 private:
  void OpenLookup(int field, bool to);

  std::shared_ptr<QtQueryControl> control_;
  QWidget* body_ = nullptr;
  std::vector<std::pair<QLineEdit*, QLineEdit*>> boxes_;
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_QUERY_PANEL_H_
