#include "app/qt/addressed_page.h"

#include "app/qt/main_window_layout.h"
#include "common/qt/accessibility.h"
#include "common/qt/memo.h"
#include "common/qt/picture_page.h"
#include "common/qt/qt_text.h"
#include "flat/qt/flat_edit.h"
#include "send/page_names.h"

namespace movarek {

using namespace main_window;

AddressedPage addressedPage(Page page, const QString& addressName, int memoLimit, int memoWidth) {
  AddressedPage built;
  built.page = new PicturePage(qtFromUtf8(pageNames(page).object),
                               QStringLiteral(":/movarek/pozadi_sms.png"));
  QLabel* label = labelAt(built.page, addressName + QLatin1Char(':'), QPoint(8, 9));
  built.address = new TFlatEdit(built.page);
  nameByLabel(*label, *built.address, addressName);
  built.address->setGeometry(56, 6, 240, 19);
  built.address->setFont(arialFont(13, false));
  built.send = button(built.page, QStringLiteral("Poslat!"), kSendButtonPlace);
  built.send->setDefault(true);
  built.memo = new TMemo(memoLimit, built.page);
  built.memo->setAccessibleName(kMessageName);
  built.memo->setGeometry(8, 32, memoWidth, 140);
  return built;
}

}  // namespace movarek
