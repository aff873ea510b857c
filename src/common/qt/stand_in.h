#pragma once
// Where a test stands in for the person: the one handler of a kind (the message box's, the
// file dialog's, the input box's, the modal loop's) that answers instead of the real window.
// Empty, the real window answers.
namespace movarek {

template <class Handler>
Handler& standIn() {
  static Handler handler;
  return handler;
}

}  // namespace movarek
