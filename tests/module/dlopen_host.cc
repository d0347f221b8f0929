// A host that loads the module library at run time, as a real host does:
// through dlopen and the C entry points only. Exit status 0 when every check
// passes; each failure is printed.
//
//   orvelka_dlopen_host LIBRARY MANIFEST_DIR

#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "zere_orvelka/zere_orvelka.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

template <typename F>
F Symbol(void* library, const char* name) {
  void* symbol = dlsym(library, name);
  if (symbol == nullptr) {
    std::fprintf(stderr, "FAILED: missing entry point %s\n", name);
    ++failures;
  }
  return reinterpret_cast<F>(symbol);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: orvelka_dlopen_host LIBRARY MANIFEST_DIR\n");
    return 2;
  }
  void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) {
    std::fprintf(stderr, "FAILED: dlopen: %s\n", dlerror());
    return 1;
  }
  auto create = Symbol<int (*)(const char*, orv_object**)>(library, "orv_create_object");
  auto release = Symbol<void (*)(orv_object*)>(library, "orv_release_object");
  auto class_name = Symbol<const char* (*)(const orv_object*)>(library, "orv_object_class_name");
  auto instance_id =
      Symbol<int (*)(orv_object*, char*, unsigned long)>(library, "orv_object_instance_id");
  auto get_flag =
      Symbol<int (*)(const orv_object*, const char*, int*)>(library, "orv_object_get_flag");
  auto set_flag = Symbol<int (*)(orv_object*, const char*, int)>(library, "orv_object_set_flag");
  auto cinterface = Symbol<void* (*)(orv_object*)>(library, "orv_object_cinterface");
  auto live = Symbol<long (*)()>(library, "orv_live_objects");
  auto can_unload = Symbol<int (*)()>(library, "orv_can_unload_now");
  auto register_server = Symbol<int (*)(const char*)>(library, "orv_register_server");
  auto unregister_server = Symbol<int (*)(const char*)>(library, "orv_unregister_server");
  if (failures > 0) return 1;

  // The classes of namespace orv are exported for C++ hosts built with the
  // same compiler; the module's own copies of library code are not.
  Check(dlsym(library, "_ZN3orv4host13CLSFW_ORVELKA6CreateEv") != nullptr,
        "C++ classes of namespace orv are exported");

  Check(can_unload() == ORV_OK, "can unload before anything is created");
  orv_object* entry = nullptr;
  orv_object* permissions = nullptr;
  orv_object* nothing = nullptr;
  Check(create("CLSFW_ORVELKA", &entry) == ORV_OK && entry != nullptr, "create CLSFW_ORVELKA");
  Check(create("CLSFW_PERMESSIDITTA", &permissions) == ORV_OK && permissions != nullptr,
        "create CLSFW_PERMESSIDITTA");
  Check(create("CLSFW_ALTRO", &nothing) == ORV_E_NOCLASS && nothing == nullptr,
        "unknown class refused");
  Check(create(nullptr, &nothing) == ORV_E_INVALIDARG, "null class name refused");
  Check(live() == 2, "two live objects");
  Check(can_unload() == ORV_FALSE, "cannot unload while objects live");

  Check(std::strcmp(class_name(entry), "CLSFW_ORVELKA") == 0, "class name of the entry object");
  Check(cinterface(entry) != nullptr, "the entry object has a module interface");
  Check(cinterface(permissions) == nullptr, "the permissions object has none");

  char id_entry[33] = {};
  char id_permissions[33] = {};
  Check(instance_id(entry, id_entry, sizeof id_entry) == ORV_OK, "entry identifier");
  Check(instance_id(permissions, id_permissions, sizeof id_permissions) == ORV_OK,
        "permissions identifier");
  Check(std::strlen(id_entry) == 32 && std::strlen(id_permissions) == 32, "32 digits each");
  Check(std::strcmp(id_entry, id_permissions) != 0, "distinct identifiers");
  char small[8];
  Check(instance_id(entry, small, sizeof small) == ORV_E_INVALIDARG, "short buffer refused");

  int value = -1;
  Check(get_flag(permissions, "Stampa", &value) == ORV_OK && value == 0, "flags start false");
  Check(set_flag(permissions, "Stampa", 1) == ORV_OK, "set Stampa");
  Check(get_flag(permissions, "Stampa", &value) == ORV_OK && value == 1, "Stampa kept");
  Check(get_flag(permissions, "Volare", &value) == ORV_E_INVALIDARG, "unknown flag refused");
  Check(set_flag(entry, "WindowModal", 1) == ORV_OK, "set WindowModal");
  Check(get_flag(entry, "WindowModal", &value) == ORV_OK && value == 1, "WindowModal kept");

  const std::filesystem::path dir = argv[2];
  std::filesystem::remove_all(dir);
  Check(register_server(dir.c_str()) == ORV_OK, "register");
  const std::filesystem::path manifest = dir / "zere_orvelka.json";
  std::ifstream in(manifest);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Check(text.find("\"ZERE_ORVELKA\"") != std::string::npos, "manifest names the module");
  Check(text.find("CLSFW_PERMESSIDITTA") != std::string::npos, "manifest lists the classes");
  Check(text.find("libzere_orvelka") != std::string::npos, "manifest gives the library");
  Check(unregister_server(dir.c_str()) == ORV_OK, "unregister");
  Check(!std::filesystem::exists(manifest), "manifest removed");

  release(entry);
  Check(can_unload() == ORV_FALSE, "one object still alive");
  release(permissions);
  release(nullptr);
  Check(live() == 0, "nothing alive");
  Check(can_unload() == ORV_OK, "can unload when nothing is alive");
  Check(dlclose(library) == 0, "dlclose");
  std::filesystem::remove_all(dir);
  if (failures == 0) std::printf("dlopen host: all checks passed\n");
  return failures == 0 ? 0 : 1;
}
