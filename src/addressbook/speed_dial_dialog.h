#pragma once
// The speed-dial dialog: four stored addresses for each sending page.
#include <QDialog>

namespace movarek {

class TfrmRychleVolby : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmRychleVolby(QWidget* parent = nullptr);
};

}  // namespace movarek
