#pragma once
// The maker-contact window: the maker's logo and contact details.
#include <QDialog>

namespace movarek {

class TfrmKontakt : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmKontakt(QWidget* parent = nullptr);
};

}  // namespace movarek
