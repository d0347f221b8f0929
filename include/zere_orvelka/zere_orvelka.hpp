#ifndef ZERE_ORVELKA_ZERE_ORVELKA_HPP_
#define ZERE_ORVELKA_ZERE_ORVELKA_HPP_

#include <cstdint>
#include <memory>

#include "zere_orvelka/connection_handle.h"
#include "zere_orvelka/variant.h"

// The C++ module interface of libzere_orvelka.so, for C++ hosts built with
// the same compiler and standard library (zere_orvelka.h is the C one):
// orv_object_cinterface() hands out the entry object's Cinterface.

namespace orv::host {

class ClsGlobal;
class ClsVoceMenu;
class HostForm;
class HostFrame;
class HostObject;
class Navigator;

// The host's module interface. A host creates a module object, writes its
// properties, calls ShowForm, and later CloseForm. Members are in the
// interface's own order; a property with both directions has its write
// before its read, except Top and Left.
//
// Ownership: object properties are set by reference. The module holds the
// shared_ptrs it is given until it is destroyed (or the window unloads, for
// the references the window holds); the host owns the objects.
//
// Errors: every accessor swallows its own errors. A write whose conversion
// fails (WindowState outside 16 bits, a Top that is not a number) leaves the
// property as it was and reports nothing. No exception leaves a member.
class Cinterface {
 public:
  virtual ~Cinterface() = default;

  virtual void SetClsGlobal(std::shared_ptr<ClsGlobal> value) = 0;
  virtual std::shared_ptr<ClsGlobal> GetClsGlobal() const = 0;
  virtual void SetActiveFrame(std::shared_ptr<HostFrame> value) = 0;
  virtual std::shared_ptr<HostFrame> GetActiveFrame() const = 0;
  // Writing connects the module to the navigator's events and disconnects it
  // from the previous navigator.
  virtual void SetActiveNavigator(std::shared_ptr<Navigator> value) = 0;
  virtual std::shared_ptr<Navigator> GetActiveNavigator() const = 0;
  // The interface handed to the editor window; the object itself until the
  // host writes another one. A module's own reference to itself does not keep
  // it alive.
  virtual void SetActiveDll(std::shared_ptr<Cinterface> value) = 0;
  virtual std::shared_ptr<Cinterface> GetActiveDll() const = 0;
  virtual void SetStatusBar(std::shared_ptr<HostObject> value) = 0;
  virtual std::shared_ptr<HostObject> GetStatusBar() const = 0;
  virtual void SetCanInsert(bool value) = 0;
  virtual bool GetCanInsert() const = 0;
  virtual void SetCanDelete(bool value) = 0;
  virtual bool GetCanDelete() const = 0;
  virtual void SetCanUpdate(bool value) = 0;
  virtual bool GetCanUpdate() const = 0;
  virtual void SetCanQbe(bool value) = 0;
  virtual bool GetCanQbe() const = 0;
  // Written as 32 bits, stored in 16.
  virtual void SetWindowState(int32_t value) = 0;
  virtual int32_t GetWindowState() const = 0;
  virtual void SetWindowModal(bool value) = 0;
  virtual bool GetWindowModal() const = 0;
  // Written as 32 bits, stored in 16.
  virtual void SetProgramMode(int32_t value) = 0;
  virtual int32_t GetProgramMode() const = 0;
  virtual void SetMenuModulo(const Variant& value) = 0;
  virtual Variant GetMenuModulo() const = 0;
  virtual void SetMenuPadre(const Variant& value) = 0;
  virtual Variant GetMenuPadre() const = 0;
  virtual void SetMenuProg(const Variant& value) = 0;
  virtual Variant GetMenuProg() const = 0;
  virtual void SetCaption(const Variant& value) = 0;
  virtual Variant GetCaption() const = 0;
  virtual void SetHwndParent(int32_t value) = 0;
  virtual int32_t GetHwndParent() const = 0;
  // Opens the editor window (modal when WindowModal). Returns Empty.
  virtual Variant ShowForm() = 0;
  // Unloads the editor window. Returns true (a Boolean value) when the window
  // is gone, false when the close was refused or failed. True when no window
  // is open, so that a host can always close the module.
  virtual Variant CloseForm() = 0;
  virtual void SetConnection(std::shared_ptr<ConnectionHandle> value) = 0;
  virtual std::shared_ptr<ConnectionHandle> GetConnection() const = 0;
  virtual std::shared_ptr<HostForm> GetCwindow() const = 0;
  // Raises the module's DataTransfer event with `data`; returns Empty.
  virtual Variant TransferData(const Variant& data) = 0;
  // Twips; written as any value, converted to 32 bits, read back as a value
  // holding a 32-bit integer.
  virtual Variant GetTop() const = 0;
  virtual void SetTop(const Variant& value) = 0;
  virtual Variant GetLeft() const = 0;
  virtual void SetLeft(const Variant& value) = 0;
  virtual void SetClsVoceMenu(std::shared_ptr<ClsVoceMenu> value) = 0;
  virtual std::shared_ptr<ClsVoceMenu> GetClsVoceMenu() const = 0;
  virtual void SetIsActive(bool value) = 0;
  virtual bool GetIsActive() const = 0;
  virtual void SetIsCalled(bool value) = 0;
  virtual bool GetIsCalled() const = 0;
  // A write discards the value; a read returns Empty.
  virtual void SetFiltro(const Variant& value) = 0;
  virtual Variant GetFiltro() const = 0;
};

}  // namespace orv::host

#endif  // ZERE_ORVELKA_ZERE_ORVELKA_HPP_
