#pragma once
// A sending page as "SMS E-mail" was drawn: an addressee line with its "Poslat!" beside it, and
// the message below.
#include <QString>

#include "common/page.h"

class QPushButton;
class QWidget;

namespace movarek {

class TFlatEdit;
class TMemo;

struct AddressedPage {
  QWidget* page;
  TFlatEdit* address;
  QPushButton* send;
  TMemo* memo;
};

// The page `page`, its addressee line named `addressName` by its label; its message holds at
// most `memoLimit` characters and is `memoWidth` wide.
AddressedPage addressedPage(Page page, const QString& addressName, int memoLimit, int memoWidth);

}  // namespace movarek
