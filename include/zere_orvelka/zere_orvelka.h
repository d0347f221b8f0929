#ifndef ZERE_ORVELKA_ZERE_ORVELKA_H_
#define ZERE_ORVELKA_ZERE_ORVELKA_H_

/* The C entry points of libzere_orvelka.so. Every function is callable from
 * C; none lets an exception escape. Objects are created by class name and
 * released explicitly; the library may be unloaded once
 * orv_can_unload_now() returns ORV_OK.
 *
 * Threads: the module runs on its host's user-interface thread. Only the
 * object counter is safe to read from other threads. */

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define ORV_EXPORT __attribute__((visibility("default")))
#else
#define ORV_EXPORT
#endif

/* Status codes. */
#define ORV_OK 0
#define ORV_FALSE 1           /* can-unload: objects are still alive */
#define ORV_E_NOCLASS (-1)    /* unknown class name */
#define ORV_E_INVALIDARG (-2) /* null or malformed argument */
#define ORV_E_FAIL (-3)       /* anything else (I/O, out of memory, ...) */

/* An object of the module: "CLSFW_ORVELKA" or "CLSFW_PERMESSIDITTA". */
typedef struct orv_object orv_object;

/* Creates an object by class name; *out receives it (the caller owns it and
 * releases it with orv_release_object). */
ORV_EXPORT int orv_create_object(const char* class_name, orv_object** out);

/* Releases an object; null is accepted. */
ORV_EXPORT void orv_release_object(orv_object* object);

/* The class name of an object ("" for null). The text lives as long as the
 * object. */
ORV_EXPORT const char* orv_object_class_name(const orv_object* object);

/* Copies the object's 32-hex-digit instance identifier and a terminating NUL
 * into buffer (at least 33 bytes). */
ORV_EXPORT int orv_object_instance_id(orv_object* object, char* buffer, unsigned long size);

/* Boolean properties by name (the thirteen flags of CLSFW_PERMESSIDITTA;
 * "WindowModal", "IsActive", "IsCalled", "CanInsert", "CanDelete",
 * "CanUpdate", "CanQbe" of CLSFW_ORVELKA). */
ORV_EXPORT int orv_object_get_flag(const orv_object* object, const char* name, int* value);
ORV_EXPORT int orv_object_set_flag(orv_object* object, const char* name, int value);

/* For C++ hosts built with the same compiler and standard library: the
 * object's orv::host::Cinterface* (CLSFW_ORVELKA only, else null). Borrowed;
 * valid until the object is released. */
ORV_EXPORT void* orv_object_cinterface(orv_object* object);

/* Number of live objects of the module (entry objects, permission objects
 * and editor windows). */
ORV_EXPORT long orv_live_objects(void);

/* ORV_OK when nothing of the module is alive, ORV_FALSE otherwise. */
ORV_EXPORT int orv_can_unload_now(void);

/* Writes the module manifest "zere_orvelka.json" (module name, library path,
 * classes, version) into `directory`, creating it when needed. With a null
 * or empty directory: $XDG_DATA_HOME/orvelka/modules, or
 * $HOME/.local/share/orvelka/modules. */
ORV_EXPORT int orv_register_server(const char* directory);

/* Removes the manifest written by orv_register_server; ORV_OK when it is
 * gone (also when it was never there). */
ORV_EXPORT int orv_unregister_server(const char* directory);

#ifdef __cplusplus
}
#endif

#endif /* ZERE_ORVELKA_ZERE_ORVELKA_H_ */
