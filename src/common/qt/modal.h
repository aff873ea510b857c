#pragma once
// Modal showing of the program's dialogs. Tests stand in for the person here: their handler
// gets the dialog instead of a nested event loop, works it, and returns its result.
#include <functional>

class QDialog;

namespace movarek {

using ModalHandler = std::function<int(QDialog&)>;

int showModal(QDialog& dialog);

// Replaces the real modal loop (an empty handler puts it back).
void setModalHandler(ModalHandler handler);

}  // namespace movarek
