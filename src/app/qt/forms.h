#pragma once
// The program's windows, each made once and living until the end: the main window first, shown
// as soon as a bare window would be; the others in their order right after its first paint, then
// the web engine; or all of them as soon as the main window opens one. The program's database
// is opened after the first paint too.
#include <memory>

#include "app/qt/other_windows.h"

namespace movarek {

class AddressBook;
class ProgramDatabase;
class SendRecorder;
class TfrmMain;

class Forms final : public OtherWindows {
 public:
  Forms();
  ~Forms();

  TfrmMain& main() { return *frmMain_; }
  ProgramDatabase& database() { return *database_; }
  // Made when first asked for, all four in their order.
  TfrmKontakt& kontakt() override;
  TfrmRychleVolby& rychleVolby() override;
  TfrmNapoveda& napoveda() override;
  TfrmKontakty& kontakty() override;
  SentMessagesWindow& odeslane() override;

  // The windows after the main one have been made.
  bool othersMade() const { return frmKontakty_ != nullptr; }

 private:
  // The windows after the main one, in their order: the contacts dialog after the others, since
  // it lists the contacts that the main window's creation step loads.
  void makeTheOthers();

  std::unique_ptr<ProgramDatabase> database_;
  std::unique_ptr<SendRecorder> recorder_;
  std::unique_ptr<TfrmMain> frmMain_;
  std::unique_ptr<AddressBook> addressBook_;
  std::unique_ptr<TfrmKontakt> frmKontakt_;
  std::unique_ptr<TfrmRychleVolby> frmRychleVolby_;
  std::unique_ptr<TfrmNapoveda> frmNapoveda_;
  std::unique_ptr<TfrmKontakty> frmKontakty_;
  std::unique_ptr<SentMessagesWindow> frmOdeslane_;
};

}  // namespace movarek
