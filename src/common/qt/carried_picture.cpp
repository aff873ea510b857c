#include "common/qt/carried_picture.h"

#include <QImageReader>

namespace movarek {

QPixmap carriedPicture(const QString& resource) {
  QImageReader reader(resource, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

}  // namespace movarek
