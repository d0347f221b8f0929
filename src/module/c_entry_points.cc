// The library's C entry points. No exception crosses them: every body runs
// under a catch-all that turns failures into status codes.

#include <dlfcn.h>

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <variant>

#include "host/live_objects.h"
#include "module/clsfw_orvelka.h"
#include "module/clsfw_permessiditta.h"
#include "module/module_manifest.h"
#include "zere_orvelka/zere_orvelka.h"

struct orv_object {
  std::string class_name;
  std::shared_ptr<orv::host::CLSFW_ORVELKA> entry;
  std::unique_ptr<orv::host::CLSFW_PERMESSIDITTA> permissions;
};

namespace {

using orv::host::CLSFW_ORVELKA;
using orv::host::CLSFW_PERMESSIDITTA;

// The path of this library, for the manifest.
std::string LibraryPath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&orv_create_object), &info) != 0 &&
      info.dli_fname != nullptr) {
    return info.dli_fname;
  }
  return "libzere_orvelka.so";
}

// Boolean properties of the entry class reachable by name.
bool EntryFlag(CLSFW_ORVELKA& entry, std::string_view name, const int* set, int* get) {
  struct Prop {
    const char* name;
    void (CLSFW_ORVELKA::*setter)(bool);
    bool (CLSFW_ORVELKA::*getter)() const;
  };
  static const Prop kProps[] = {
      {"WindowModal", &CLSFW_ORVELKA::SetWindowModal, &CLSFW_ORVELKA::GetWindowModal},
      {"IsActive", &CLSFW_ORVELKA::SetIsActive, &CLSFW_ORVELKA::GetIsActive},
      {"IsCalled", &CLSFW_ORVELKA::SetIsCalled, &CLSFW_ORVELKA::GetIsCalled},
      {"CanInsert", &CLSFW_ORVELKA::SetCanInsert, &CLSFW_ORVELKA::GetCanInsert},
      {"CanDelete", &CLSFW_ORVELKA::SetCanDelete, &CLSFW_ORVELKA::GetCanDelete},
      {"CanUpdate", &CLSFW_ORVELKA::SetCanUpdate, &CLSFW_ORVELKA::GetCanUpdate},
      {"CanQbe", &CLSFW_ORVELKA::SetCanQbe, &CLSFW_ORVELKA::GetCanQbe},
  };
  for (const Prop& prop : kProps) {
    if (name != prop.name) continue;
    if (set != nullptr) (entry.*prop.setter)(*set != 0);
    if (get != nullptr) *get = (entry.*prop.getter)() ? 1 : 0;
    return true;
  }
  return false;
}

}  // namespace

extern "C" {

ORV_EXPORT int orv_create_object(const char* class_name, orv_object** out) {
  if (class_name == nullptr || out == nullptr) return ORV_E_INVALIDARG;
  *out = nullptr;
  try {
    auto object = std::make_unique<orv_object>();
    object->class_name = class_name;
    if (object->class_name == "CLSFW_ORVELKA") {
      object->entry = CLSFW_ORVELKA::Create();
    } else if (object->class_name == "CLSFW_PERMESSIDITTA") {
      object->permissions = std::make_unique<CLSFW_PERMESSIDITTA>();
    } else {
      return ORV_E_NOCLASS;
    }
    *out = object.release();
    return ORV_OK;
  } catch (...) {
    return ORV_E_FAIL;
  }
}

ORV_EXPORT void orv_release_object(orv_object* object) {
  try {
    std::unique_ptr<orv_object> owned(object);
  } catch (...) {
    // Destruction reports its own failures to the host; nothing to add.
  }
}

ORV_EXPORT const char* orv_object_class_name(const orv_object* object) {
  return object == nullptr ? "" : object->class_name.c_str();
}

ORV_EXPORT int orv_object_instance_id(orv_object* object, char* buffer, unsigned long size) {
  if (object == nullptr || buffer == nullptr) return ORV_E_INVALIDARG;
  try {
    const std::string& id =
        object->entry ? object->entry->InstanceIdText() : object->permissions->InstanceIdText();
    if (size < id.size() + 1) return ORV_E_INVALIDARG;
    std::memcpy(buffer, id.c_str(), id.size() + 1);
    return ORV_OK;
  } catch (...) {
    return ORV_E_FAIL;
  }
}

ORV_EXPORT int orv_object_get_flag(const orv_object* object, const char* name, int* value) {
  if (object == nullptr || name == nullptr || value == nullptr) return ORV_E_INVALIDARG;
  try {
    if (object->permissions) {
      auto flag = CLSFW_PERMESSIDITTA::FlagByName(name);
      if (!flag) return ORV_E_INVALIDARG;
      *value = object->permissions->Get(*flag) ? 1 : 0;
      return ORV_OK;
    }
    return EntryFlag(*object->entry, name, nullptr, value) ? ORV_OK : ORV_E_INVALIDARG;
  } catch (...) {
    return ORV_E_FAIL;
  }
}

ORV_EXPORT int orv_object_set_flag(orv_object* object, const char* name, int value) {
  if (object == nullptr || name == nullptr) return ORV_E_INVALIDARG;
  try {
    if (object->permissions) {
      auto flag = CLSFW_PERMESSIDITTA::FlagByName(name);
      if (!flag) return ORV_E_INVALIDARG;
      object->permissions->Set(*flag, value != 0);
      return ORV_OK;
    }
    return EntryFlag(*object->entry, name, &value, nullptr) ? ORV_OK : ORV_E_INVALIDARG;
  } catch (...) {
    return ORV_E_FAIL;
  }
}

ORV_EXPORT void* orv_object_cinterface(orv_object* object) {
  if (object == nullptr || !object->entry) return nullptr;
  return static_cast<orv::host::Cinterface*>(object->entry.get());
}

ORV_EXPORT long orv_live_objects(void) { return orv::host::LiveObjects::Count(); }

ORV_EXPORT int orv_can_unload_now(void) {
  return orv::host::LiveObjects::Count() == 0 ? ORV_OK : ORV_FALSE;
}

ORV_EXPORT int orv_register_server(const char* directory) {
  try {
    orv::host::ModuleManifest::Write(directory == nullptr ? "" : directory, LibraryPath());
    return ORV_OK;
  } catch (...) {
    return ORV_E_FAIL;
  }
}

ORV_EXPORT int orv_unregister_server(const char* directory) {
  try {
    orv::host::ModuleManifest::Remove(directory == nullptr ? "" : directory);
    return ORV_OK;
  } catch (...) {
    return ORV_E_FAIL;
  }
}

}  // extern "C"
