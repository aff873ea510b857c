#include "common/qt/modal.h"

#include <QDialog>

namespace movarek {
namespace {

ModalHandler& handlerSlot() {
  static ModalHandler handler;
  return handler;
}

}  // namespace

int showModal(QDialog& dialog) { return handlerSlot() ? handlerSlot()(dialog) : dialog.exec(); }

void setModalHandler(ModalHandler handler) { handlerSlot() = std::move(handler); }

}  // namespace movarek
