#include "hostapp/screenshot.h"

#include <QApplication>
#include <QPixmap>
#include <charconv>

#include "editor/frmfw_orvelka.h"
#include "hostapp/host_session.h"
#include "hostapp/journal_viewer.h"
#include "hostapp/main_window.h"

namespace orv::hostapp {

std::optional<Screenshot::Principal> Screenshot::ParsePrincipal(const std::string& text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return std::nullopt;
  const std::string kind = text.substr(0, colon);
  Principal p;
  if (kind == "user") {
    p.kind = 1;
  } else if (kind == "group") {
    p.kind = 0;
  } else {
    return std::nullopt;
  }
  const char* first = text.data() + colon + 1;
  const char* last = text.data() + text.size();
  auto [end, error] = std::from_chars(first, last, p.id);
  if (error != std::errc() || end != last || first == last) return std::nullopt;
  return p;
}

std::string Screenshot::Take(HostSession& session, const std::optional<Principal>& principal,
                             const std::string& section_key, const std::string& file,
                             const QSize& size) {
  if (session.window() == nullptr || session.ui().main_window() == nullptr) {
    return "the editor is not open";
  }
  const QtControls& controls = session.ui().controls();
  if (principal && !controls.tree->Select(principal->kind, principal->id)) {
    return "no such principal in the tree";
  }
  if (!section_key.empty() && !controls.side_bar->PickKey(section_key)) {
    return "no side-bar item " + section_key;
  }
  MainWindow* main = session.ui().main_window();
  if (main == nullptr) return "the editor closed";
  if (size.isValid()) main->resize(size);
  QApplication::processEvents();
  QApplication::processEvents();
  const QPixmap picture = main->grab();
  if (picture.isNull() || !picture.save(QString::fromStdString(file), "PNG")) {
    return "cannot write " + file;
  }
  return {};
}

std::string Screenshot::TakeJournal(HostSession& session, const std::string& file,
                                    const QSize& size) {
  if (session.window() == nullptr || session.window()->journal() == nullptr) {
    return "the editor has no journal";
  }
  JournalViewer viewer(session.ui().JournalSource(), session.ui().main_window());
  if (size.isValid()) viewer.resize(size);
  viewer.show();
  QApplication::processEvents();
  QApplication::processEvents();
  const QPixmap picture = viewer.grab();
  viewer.hide();
  if (picture.isNull() || !picture.save(QString::fromStdString(file), "PNG")) {
    return "cannot write " + file;
  }
  return {};
}

}  // namespace orv::hostapp
