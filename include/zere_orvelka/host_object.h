#ifndef ZERE_ORVELKA_HOST_OBJECT_H_
#define ZERE_ORVELKA_HOST_OBJECT_H_

namespace orv::host {

// Base of every object a host hands to the module by reference (status bar,
// frame, menu item, window). The module only stores these objects; the host
// owns them and they live as long as someone holds their shared_ptr.
class HostObject {
 public:
  virtual ~HostObject() = default;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_HOST_OBJECT_H_
