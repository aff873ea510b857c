#pragma once
// The windows the main window opens, made once, on first need or right after the main window's
// first paint, whichever comes first.

namespace movarek {

class TfrmKontakt;
class TfrmKontakty;
class TfrmNapoveda;
class TfrmRychleVolby;
class SentMessagesWindow;

class OtherWindows {
 public:
  virtual TfrmKontakt& kontakt() = 0;
  virtual TfrmRychleVolby& rychleVolby() = 0;
  virtual TfrmNapoveda& napoveda() = 0;
  virtual TfrmKontakty& kontakty() = 0;
  virtual SentMessagesWindow& odeslane() = 0;

 protected:
  ~OtherWindows() = default;
};

}  // namespace movarek
