#pragma once
// The contacts dialog: the address book kept, and addressees chosen from it.
#include <QDialog>

namespace movarek {

class TfrmKontakty : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmKontakty(QWidget* parent = nullptr);
};

}  // namespace movarek
