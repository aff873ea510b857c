#pragma once
// The program's windows, each created once at start-up and living until the end.
#include <memory>

namespace movarek {

class TfrmMain;
class TfrmKontakt;
class TfrmRychleVolby;
class TfrmNapoveda;
class TfrmKontakty;

struct Forms {
  // All at once, or the main window alone and the others, in their order, right after it has
  // painted, or as soon as it opens one of them, whichever comes first: so the program's window
  // shows as soon as a bare window would.
  enum class Start { AllAtOnce, MainWindowFirst };

  explicit Forms(Start start = Start::AllAtOnce);
  ~Forms();

  // In the order of creation: the main window first, since its creation step loads the
  // address book that the contacts dialog, created last, lists.
  std::unique_ptr<TfrmMain> frmMain;
  std::unique_ptr<TfrmKontakt> frmKontakt;
  std::unique_ptr<TfrmRychleVolby> frmRychleVolby;
  std::unique_ptr<TfrmNapoveda> frmNapoveda;
  std::unique_ptr<TfrmKontakty> frmKontakty;

 private:
  // The windows after the main one.
  void createTheOthers();
};

}  // namespace movarek
