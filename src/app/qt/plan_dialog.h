#pragma once
// "Odeslat později": when a message checked for sending goes. The time is typed or picked in the
// calendar in the Czech way ("10. 12. 2026 14:30"), or taken from a quick choice; one that has
// passed, or lies more than a year ahead, is refused.
#include <QDialog>
#include <cstdint>

class QDateTimeEdit;
class QPushButton;

namespace movarek {

class PlanDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PlanDialog(QWidget* parent);

  // Each opening: an hour from now offered, the time field focused.
  void FormActivate();
  // The time "Naplánovat" took, in seconds since 1970 (UTC).
  std::int64_t chosen() const;

  QDateTimeEdit* editKdy;
  QPushButton* btnZaHodinu;
  QPushButton* btnZitra;
  QPushButton* btnNaplanovat;
  QPushButton* btnZrusit;

 private:
  void btnNaplanovatClick();
  void offer(std::int64_t when);
};

}  // namespace movarek
