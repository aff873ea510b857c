#include <QComboBox>
#include <QLineEdit>
#include <QStackedWidget>

#include "app/memo.h"
#include "forms_fixture.h"

namespace movarek::testing {
namespace {

using MainWindowTest = FormsTest;

TEST_F(MainWindowTest, FirstStartWithoutFilesShowsEmptyFieldsOnTheEmailPage) {
  startProgram();
  main().FormActivate();
  EXPECT_EQ(main().activePageName(), "SMS");
  EXPECT_TRUE(main().editAdresa->text().isEmpty());
  EXPECT_TRUE(main().memoText->toPlainText().isEmpty());
  EXPECT_EQ(main().comboPredcisliOskar->currentIndex(), -1);
  EXPECT_EQ(main().comboPredcisliOskar->currentText(), "Předčíslí");
  EXPECT_EQ(main().windowTitle(), "SMS Movarek");
}

}  // namespace
}  // namespace movarek::testing
