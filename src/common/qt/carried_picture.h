#pragma once
// The pictures the program carries in itself, all PNG.
#include <QPixmap>
#include <QString>

namespace movarek {

// The picture at `resource` (":/movarek/…"). Read as PNG by name: left to guess, Qt loads every
// image format plugin on the system first, which costs the start a few milliseconds.
QPixmap carriedPicture(const QString& resource);

}  // namespace movarek
