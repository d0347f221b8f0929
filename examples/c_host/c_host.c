/* A host written in C against the installed module: it creates the module's
 * two classes through the C entry points, sets and reads their flags,
 * registers and unregisters the module's manifest, releases everything and
 * checks that the library may then be unloaded.
 *
 *   c_host MANIFEST_DIR
 *
 * Exit status 0 when every step worked; each failure is printed. */

#include <stdio.h>
#include <string.h>

#include "zere_orvelka/zere_orvelka.h"

static int failures = 0;

static void check(int ok, const char* what) {
  if (!ok) {
    fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

int main(int argc, char** argv) {
  orv_object* entry = NULL;
  orv_object* permissions = NULL;
  char id[33];
  int value = -1;
  FILE* manifest;
  char path[4096];

  if (argc != 2) {
    fprintf(stderr, "usage: c_host MANIFEST_DIR\n");
    return 2;
  }
  check(orv_create_object("CLSFW_ORVELKA", &entry) == ORV_OK && entry != NULL,
        "create CLSFW_ORVELKA");
  check(orv_create_object("CLSFW_PERMESSIDITTA", &permissions) == ORV_OK && permissions != NULL,
        "create CLSFW_PERMESSIDITTA");
  check(orv_live_objects() == 2, "two live objects");
  check(strcmp(orv_object_class_name(entry), "CLSFW_ORVELKA") == 0, "class name");
  check(orv_object_instance_id(entry, id, sizeof id) == ORV_OK && strlen(id) == 32,
        "instance identifier");

  check(orv_object_set_flag(permissions, "Stampa", 1) == ORV_OK, "set Stampa");
  check(orv_object_get_flag(permissions, "Stampa", &value) == ORV_OK && value == 1,
        "read Stampa back");
  check(orv_object_set_flag(entry, "WindowModal", 1) == ORV_OK, "set WindowModal");
  check(orv_object_get_flag(entry, "WindowModal", &value) == ORV_OK && value == 1,
        "read WindowModal back");

  check(orv_register_server(argv[1]) == ORV_OK, "register the manifest");
  snprintf(path, sizeof path, "%s/zere_orvelka.json", argv[1]);
  manifest = fopen(path, "r");
  check(manifest != NULL, "manifest written");
  if (manifest != NULL) fclose(manifest);
  check(orv_unregister_server(argv[1]) == ORV_OK, "unregister the manifest");

  orv_release_object(entry);
  orv_release_object(permissions);
  check(orv_can_unload_now() == ORV_OK, "nothing alive at the end");

  if (failures == 0) printf("c_host: every step worked\n");
  return failures == 0 ? 0 : 1;
}
