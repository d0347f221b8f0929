#include "editor/section_context.h"

#include "editor/frmfw_orvelka.h"

namespace orv::editor {

std::shared_ptr<db::Connection> SectionContext::connection() const { return window_->connection(); }

const db::Value& SectionContext::current_company() const { return window_->current_company(); }

store::Principal SectionContext::CurrentPrincipal() const { return window_->CurrentPrincipal(); }

const std::string& SectionContext::temp_table_name() const { return window_->temp_table_name(); }

int32_t SectionContext::section_code() const { return window_->section_code(); }

Section* SectionContext::active_section() const { return window_->ActiveSection(); }

Section* SectionContext::SectionFor(int32_t code) const { return window_->SectionFor(code); }

std::shared_ptr<db::Recordset>& SectionContext::rows() const { return window_->RowsOf(grid_); }

void SectionContext::set_loaded_flag(bool value) const { window_->set_loaded_flag(value); }

std::shared_ptr<host::Cinterface> SectionContext::HostInterface() const {
  return window_->HostInterface();
}

std::shared_ptr<host::ClsGlobal> SectionContext::global() const { return window_->global(); }

const std::vector<std::shared_ptr<host::LookupObject>>& SectionContext::lookup_objects() const {
  return window_->lookup_objects();
}

const host::HostControls& SectionContext::host_controls() const { return window_->host_controls(); }

Control& SectionContext::control(std::string_view name) const { return window_->control(name); }

std::vector<Control*> SectionContext::ControlsOfType(std::string_view type) const {
  return window_->ControlsOfType(type);
}

std::string SectionContext::Caption() const { return window_->Caption(); }

db::Value SectionContext::VisualizzaErrore(std::string_view routine) const {
  return window_->VisualizzaErrore(routine);
}

db::Value SectionContext::VisualizzaErrore(std::string_view routine,
                                           const host::ErrObject& error) const {
  return window_->VisualizzaErrore(routine, error);
}

int32_t SectionContext::LogError(std::string_view routine) const {
  return window_->LogError(routine);
}

int32_t SectionContext::LogError(std::string_view routine, const host::ErrObject& error) const {
  return window_->LogError(routine, error);
}

int32_t SectionContext::ShowMessage(std::string_view prompt, int32_t buttons,
                                    std::string_view title) const {
  return window_->ShowMessage(prompt, buttons, title);
}

bool SectionContext::FirstReportInGesture(std::string_view what) const {
  return window_->FirstReportInGesture(what);
}

void SectionContext::ShowProgress(bool show) const { window_->ShowProgress(show); }

db::Value SectionContext::NvlValue(const db::Value& value, const db::Value& default_value) {
  return FRMFW_ORVELKA::NvlValue(value, default_value);
}

host::ChangeLog& SectionContext::change_log() const { return window_->change_log(); }

journal::Journal* SectionContext::journal() const { return window_->journal(); }

void SectionContext::LoadData() const { window_->LoadData(); }

void SectionContext::LoadTreeCausali() const { window_->LoadTreeCausali(); }

void SectionContext::InitTreeFamiglie() const { window_->InitTreeFamiglie(); }

void SectionContext::LoadRevokeDepositi() const { window_->LoadRevokeDepositi(); }

void SectionContext::SelectFrame(int16_t& index) const { window_->SelectFrame(index); }

void SectionContext::ArrangePanes(bool open) const { window_->ArrangePanes(open); }

void SectionContext::ReloadListaCFRevocati(const db::Value& id, bool group) const {
  window_->ReloadListaCFRevocati(id, group);
}

void SectionContext::RunReloadListaCFRevocati(const store::Principal& principal) const {
  window_->RunReloadListaCFRevocati(principal);
}

}  // namespace orv::editor
