#ifndef ORV_HOSTAPP_HOST_ICONS_H_
#define ORV_HOSTAPP_HOST_ICONS_H_

#include <QIcon>
#include <QString>

namespace orv::hostapp {

// The host's images, drawn at run time so the program needs no resource
// files: users, groups, folders and the side bar's sections.
class HostIcons {
 public:
  static QIcon User();
  static QIcon Group();
  static QIcon Folder();
  static QIcon Branch();
  // The image of a tree-grid row by its image key ("open",
  // "Raggruppamento", ...).
  static QIcon ForImageKey(const QString& key);
  // The icon of a side-bar item by its key.
  static QIcon ForSection(const QString& item_key);
  static QIcon Application();
};

}  // namespace orv::hostapp

#endif  // ORV_HOSTAPP_HOST_ICONS_H_
