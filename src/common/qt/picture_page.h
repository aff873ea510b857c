#pragma once
// A page with its picture stretched over the tooltip colour. Painted by the page itself: a
// style sheet would cost the window a tenth of its start. Its controls keep the window's own
// colours.
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "common/qt/carried_picture.h"

namespace movarek {

class PicturePage : public QWidget {
 public:
  PicturePage(const QString& name, const QString& picture) : pictureFile_(picture) {
    setObjectName(name);
  }

 protected:
  // The picture is read when the page is first shown.
  void paintEvent(QPaintEvent*) override {
    if (picture_.isNull()) picture_ = carriedPicture(pictureFile_);
    QPainter painter(this);
    painter.fillRect(rect(), QGuiApplication::palette().color(QPalette::ToolTipBase));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(rect(), picture_);
  }

 private:
  QString pictureFile_;
  QPixmap picture_;
};

}  // namespace movarek
