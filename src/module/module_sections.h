#ifndef ORV_MODULE_MODULE_SECTIONS_H_
#define ORV_MODULE_MODULE_SECTIONS_H_

namespace orv::editor {
class FRMFW_ORVELKA;
}

namespace orv::host {

// Gives a new editor window the module's revocation sections (one
// editor::Section per folder of src/sections and src/bulk). The single place
// that lists them: a section is added here when it is written.
void AddModuleSections(editor::FRMFW_ORVELKA& window);

}  // namespace orv::host

#endif  // ORV_MODULE_MODULE_SECTIONS_H_
