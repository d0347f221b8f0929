#include "session/headless_script_model.h"

namespace orv::session {

std::shared_ptr<host::HostForm> HeadlessScriptModel::Register(
    std::string_view form_name, std::shared_ptr<host::HostForm> window,
    std::string_view /*caption*/) {
  events.push_back("register-script " + std::string(form_name));
  registered = window;
  return window;
}

std::shared_ptr<host::HostForm> HeadlessScriptModel::Register(
    std::string_view caption, std::shared_ptr<host::HostForm> window) {
  events.push_back("register-layout " + std::string(caption));
  registered = window;
  return window;
}

void HeadlessScriptModel::RunFormEvent(std::string_view form_name, int32_t /*reserved*/,
                                       int32_t opening, std::string_view /*text*/) {
  events.push_back((opening != 0 ? "open " : "close ") + std::string(form_name));
}

bool HeadlessScriptModel::RefuseClose(std::string_view form_name) {
  events.push_back("query-close " + std::string(form_name));
  return refuse_close;
}

void HeadlessScriptModel::FormClosed(std::string_view form_name) {
  events.push_back("closed " + std::string(form_name));
}

}  // namespace orv::session
