#include "hostapp/host_script_model.h"

namespace orv::hostapp {

std::shared_ptr<host::HostForm> HostScriptModel::Register(
    std::string_view form_name, std::shared_ptr<host::HostForm> /*window*/,
    std::string_view caption) {
  events_.push_back("register script " + std::string(form_name) + " " + std::string(caption));
  return nullptr;  // the module keeps its own window
}

void HostScriptModel::RunFormEvent(std::string_view form_name, int32_t /*reserved*/,
                                   int32_t opening, std::string_view /*text*/) {
  events_.push_back((opening != 0 ? "open " : "close ") + std::string(form_name));
}

bool HostScriptModel::RefuseClose(std::string_view /*form_name*/) { return refuse_close_; }

void HostScriptModel::FormClosed(std::string_view form_name) {
  events_.push_back("closed " + std::string(form_name));
}

std::shared_ptr<host::HostForm> HostScriptModel::Register(
    std::string_view caption, std::shared_ptr<host::HostForm> /*window*/) {
  events_.push_back("register layout " + std::string(caption));
  return nullptr;
}

}  // namespace orv::hostapp
