#include "hostapp/host_icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace orv::hostapp {
namespace {

constexpr int kSize = 32;

void Person(QPainter& p, QPointF at, double scale, const QColor& color) {
  p.setBrush(color);
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(at.x(), at.y() - 5 * scale), 5 * scale, 5 * scale);
  QPainterPath body;
  body.moveTo(at.x() - 9 * scale, at.y() + 11 * scale);
  body.cubicTo(at.x() - 9 * scale, at.y() + 1 * scale, at.x() + 9 * scale, at.y() + 1 * scale,
               at.x() + 9 * scale, at.y() + 11 * scale);
  body.closeSubpath();
  p.drawPath(body);
}

template <typename Draw>
QIcon Drawn(Draw&& draw) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  p.end();
  return QIcon(pixmap);
}

QIcon Standard(QStyle::StandardPixmap which) { return QApplication::style()->standardIcon(which); }

}  // namespace

QIcon HostIcons::User() {
  static const QIcon icon =
      Drawn([](QPainter& p) { Person(p, QPointF(16, 14), 1.3, QColor(0x2f, 0x5d, 0x8a)); });
  return icon;
}

QIcon HostIcons::Group() {
  static const QIcon icon = Drawn([](QPainter& p) {
    Person(p, QPointF(11, 13), 1.0, QColor(0x7a, 0x9c, 0xc0));
    Person(p, QPointF(21, 13), 1.0, QColor(0x7a, 0x9c, 0xc0));
    Person(p, QPointF(16, 17), 1.1, QColor(0x2f, 0x5d, 0x8a));
  });
  return icon;
}

QIcon HostIcons::Folder() { return Standard(QStyle::SP_DirIcon); }

QIcon HostIcons::Branch() {
  static const QIcon icon = Drawn([](QPainter& p) {
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 2));
    p.drawLine(8, 6, 8, 24);
    p.drawLine(8, 24, 18, 24);
    p.drawLine(8, 12, 18, 12);
    p.setBrush(QColor(0x4c, 0x9a, 0x52));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(18, 8, 9, 8), 2, 2);
    p.drawRoundedRect(QRectF(18, 20, 9, 8), 2, 2);
  });
  return icon;
}

QIcon HostIcons::ForImageKey(const QString& key) {
  if (key == QLatin1String("open")) return Standard(QStyle::SP_DirOpenIcon);
  if (key.isEmpty()) return {};
  return Branch();
}

QIcon HostIcons::ForSection(const QString& item_key) {
  if (item_key == QLatin1String("ITM50010")) return Group();
  if (item_key == QLatin1String("ITM_ARTFAM")) return Standard(QStyle::SP_FileDialogListView);
  if (item_key == QLatin1String("ITM50017")) return Standard(QStyle::SP_DriveHDIcon);
  if (item_key == QLatin1String("ITM_TRANSORIDEST")) return Standard(QStyle::SP_BrowserReload);
  if (item_key == QLatin1String("ITM_MODBLOCCO")) return Standard(QStyle::SP_MessageBoxWarning);
  if (item_key == QLatin1String("ITM50016")) return Standard(QStyle::SP_ComputerIcon);
  if (item_key == QLatin1String("ITM50026")) return Standard(QStyle::SP_DirIcon);
  if (item_key == QLatin1String("ITM_NODI")) return Standard(QStyle::SP_FileDialogDetailedView);
  if (item_key == QLatin1String("ITM154")) return Standard(QStyle::SP_DialogSaveButton);
  return Standard(QStyle::SP_FileIcon);
}

QIcon HostIcons::Application() {
  static const QIcon icon = Drawn([](QPainter& p) {
    p.setBrush(QColor(0x2f, 0x5d, 0x8a));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    Person(p, QPointF(12, 14), 0.9, Qt::white);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(18, 15, 11, 11), 2, 2);
  });
  return icon;
}

}  // namespace orv::hostapp
