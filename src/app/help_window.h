#pragma once
// The help window: the help document napoveda.rtf.
#include <QDialog>

namespace movarek {

class TfrmNapoveda : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmNapoveda(QWidget* parent = nullptr);
};

}  // namespace movarek
