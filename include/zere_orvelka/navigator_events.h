#ifndef ZERE_ORVELKA_NAVIGATOR_EVENTS_H_
#define ZERE_ORVELKA_NAVIGATOR_EVENTS_H_

namespace orv::host {

class LayoutModel;
class ScriptModel;

// Events the host's navigator raises to the modules connected to it. The
// entry class CLSFW_ORVELKA implements them. Every event is raised on the
// host's user-interface thread; no exception leaves a handler.
class NavigatorEvents {
 public:
  virtual ~NavigatorEvents() = default;
  // The host is about to change its working company; setting `cancel`
  // refuses the change.
  virtual void ChangeDitta(bool& cancel) = 0;
  virtual void BeforeExportToOffice() = 0;
  // The models are borrowed for the duration of the call.
  virtual void InitializeLayoutObjectModel(LayoutModel& model) = 0;
  virtual void InitializeScriptObjectModel(ScriptModel& model) = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_NAVIGATOR_EVENTS_H_
