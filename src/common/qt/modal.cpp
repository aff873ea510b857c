#include "common/qt/modal.h"

#include <QDialog>

#include "common/qt/stand_in.h"

namespace movarek {

int showModal(QDialog& dialog) {
  return standIn<ModalHandler>() ? standIn<ModalHandler>()(dialog) : dialog.exec();
}

void setModalHandler(ModalHandler handler) { standIn<ModalHandler>() = std::move(handler); }

}  // namespace movarek
