// The question before a link opens hides nothing; a mail address passes on only what it shows.
#include "webview/module/link_question.h"

#include <gtest/gtest.h>

namespace movarek {
namespace {

TEST(LinkQuestionTest, TheQuestionShowsWhereALinkLeadsAsItIsReached) {
  const QString browser = QStringLiteral("Otevřít v prohlížeči?\n\n");
  const QString mail = QStringLiteral("Otevřít v poštovním programu?\n\n");
  const struct {
    const char* link;
    QString question;
    const char* passedOn = nullptr;  // of a mail address
  } cases[] = {
      {"http://аррӏе.com:8080/a",
       browser + "xn--80ak6aa92e.com\n\nhttp://xn--80ak6aa92e.com:8080/a"},
      {"http://www.banka.cz@198.51.100.7/%E2%80%AEexe.pdf?x=%E2%80%A8%C2%AD#%0A",
       browser + "198.51.100.7\n\nhttp://198.51.100.7/\\u{202E}exe.pdf?x=\\u{2028}\\u{00AD}#%0A"},
      {"mailto:jan@sms.cz,eva@аррӏе.com?cc=a@b.cz&BCC=tajny@c.cz,dalsi@c.cz&subject=Ahoj%20sv"
       "%C4%9Bte&body=Text&attach=/etc/passwd&In-Reply-To=x",
       mail + "Komu: jan@sms.cz\nKomu: eva@xn--80ak6aa92e.com\nKopie: a@b.cz\n"
              "Skrytá kopie: tajny@c.cz\nSkrytá kopie: dalsi@c.cz",
       "mailto:jan@sms.cz,eva@xn--80ak6aa92e.com?cc=a@b.cz&bcc=tajny@c.cz&bcc=dalsi@c.cz"
       "&subject=Ahoj%20sv%C4%9Bte&body=Text"},
      {"mailto:%E2%80%AEjan@sms.cz?to=eva%E2%80%A9@sms.cz",
       mail + "Komu: \\u{202E}jan@sms.cz\nKomu: eva\\u{2029}@sms.cz",
       "mailto:%E2%80%AEjan@sms.cz,eva%E2%80%A9@sms.cz"},
  };
  for (const auto& [link, question, passedOn] : cases) {
    const QUrl url(QString::fromUtf8(link));
    EXPECT_EQ(linkQuestion(url, url.host(QUrl::FullyEncoded)).toStdString(), question.toStdString())
        << link;
    if (passedOn) {
      EXPECT_EQ(mailPassedOn(url).toString(QUrl::FullyEncoded).toStdString(), passedOn) << link;
    }
  }
}

}  // namespace
}  // namespace movarek
