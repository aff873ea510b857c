#pragma once
// A .vcf or .csv file dragged onto the contacts dialog is taken for an import, on the dialog
// and on its fields and lists alike: a field would otherwise take the file's name as text.
#include <QObject>
#include <initializer_list>

class QWidget;

namespace movarek {

class ContactFileDrop : public QObject {
  Q_OBJECT

 public:
  ContactFileDrop(QWidget& dialog, std::initializer_list<QWidget*> controls);

 signals:
  // For each file of the drop, in its order.
  void fileDropped(const QString& path);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace movarek
