#include <gtest/gtest.h>

#include "answers.h"
#include "query.h"
#include "request_log.h"

namespace movarek::gatewaysim {
namespace {

TEST(GatewaySimQuery, PercentDecodeTurnsEscapesAndPlusIntoBytes) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},           {"a+b", "a b"},       {"%41%62", "Ab"},     {"%e4%E4", "\xE4\xE4"},
      {"100%25", "100%"}, {"%2B%26%23", "+&#"}, {"%0A", "\n"},        {"%", "%"},
      {"50%", "50%"},     {"%4", "%4"},         {"%ZZ%4g", "%ZZ%4g"}, {"a%2", "a%2"},
  };
  for (const auto& [encoded, bytes] : cases) EXPECT_EQ(percentDecode(encoded), bytes) << encoded;
}

TEST(GatewaySimQuery, DecodeQueryGivesThePairsInOrderAsUtf8) {
  struct Case {
    std::string raw;
    std::vector<QueryValue> values;
  };
  const Case cases[] = {
      {"", {}},
      {"go=sms2&adr=jan@sms.cz~eva@sms.cz~&zprava=Ahoj,+jak+se+mas?%0ACau+%26+ahoj",
       {{"go", "sms2"},
        {"adr", "jan@sms.cz~eva@sms.cz~"},
        {"zprava", "Ahoj, jak se mas?\nCau & ahoj"}}},
      // Code page 1250 bytes: ů is F9, ň is F2, Š is 8A.
      {"sender=K%F9%F2%20%8Aafr&senderpred=", {{"sender", "Kůň Šafr"}, {"senderpred", ""}}},
      {"odeslat&&=x&a=b=c", {{"odeslat", ""}, {"", "x"}, {"a", "b=c"}}},
      {"k%65y=1&key=2", {{"key", "1"}, {"key", "2"}}},
  };
  for (const auto& [raw, values] : cases) EXPECT_EQ(decodeQuery(raw), values) << raw;
}

TEST(GatewaySimQuery, FindValueTakesTheFirstOfAKey) {
  const auto values = decodeQuery("a=1&b=&a=2");
  EXPECT_EQ(findValue(values, "a"), "1");
  EXPECT_EQ(findValue(values, "b"), "");
  EXPECT_EQ(findValue(values, "c"), std::nullopt);
}

TEST(GatewaySimQuery, AddressesAreTheTildeEndedPieces) {
  using List = std::vector<std::string>;
  EXPECT_EQ(splitAddresses("jan@sms.cz~eva@sms.cz~"), (List{"jan@sms.cz", "eva@sms.cz"}));
  EXPECT_EQ(splitAddresses("jan@sms.cz"), (List{"jan@sms.cz"}));
  EXPECT_EQ(splitAddresses("~a~~b"), (List{"a", "b"}));
  EXPECT_EQ(splitAddresses("~~"), List{});
  EXPECT_EQ(splitAddresses(""), List{});
}

TEST(GatewaySimQuery, TargetSplitsAtTheFirstQuestionMark) {
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"/eurotel_nova2.php", "/eurotel_nova2.php", ""},
      {"/send_sms.php?go=pricti113", "/send_sms.php", "go=pricti113"},
      {"/send_sms.php?", "/send_sms.php", ""},
      {"/a?b=?&c", "/a", "b=?&c"},
  };
  for (const auto& [target, path, query] : cases) {
    const Target split = splitTarget(target);
    EXPECT_EQ(split.path, path) << target;
    EXPECT_EQ(split.query, query) << target;
  }
}

TEST(GatewaySimLog, JsonLineHoldsRawQueryDecodedValuesAndAddresses) {
  const Request send{1700000000123.5, "/send_sms.php",
                     "go=sms2&adr=jan@sms.cz~eva@sms.cz~&zprava=%22Hi%5C%22%09%01+%8A"};
  EXPECT_EQ(
      jsonLine(send),
      R"({"time_ms":1700000000123.500,"path":"/send_sms.php",)"
      R"("query":"go=sms2&adr=jan@sms.cz~eva@sms.cz~&zprava=%22Hi%5C%22%09%01+%8A",)"
      R"("values":{"go":"sms2","adr":"jan@sms.cz~eva@sms.cz~","zprava":"\"Hi\\\"\t\u0001 Š"},)"
      R"("addresses":["jan@sms.cz","eva@sms.cz"]})");
  EXPECT_EQ(jsonLine({2.0, "/favicon.ico", ""}),
            R"({"time_ms":2.000,"path":"/favicon.ico","query":"","values":{}})");
  // Bytes a browser would have escaped are still logged as valid UTF-8.
  EXPECT_EQ(jsonLine({0, "/a\x8A", "b=\x8A"}),
            R"({"time_ms":0.000,"path":"/aŠ","query":"b=Š","values":{"b":"Š"}})");
}

TEST(GatewaySimLog, ReadableLineShowsDecodedValuesOnOneLine) {
  EXPECT_EQ(readableLine({0, "/send_sms.php", "go=sms2&adr=a@x.cz~b@y.cz~&zprava=Ahoj%0A%C8au"}),
            R"(/send_sms.php go="sms2" adr="a@x.cz~b@y.cz~" zprava="Ahoj\nČau" -> a@x.cz, b@y.cz)");
  EXPECT_EQ(readableLine({0, "/eurotel_nova2.php", ""}), "/eurotel_nova2.php");
}

TEST(GatewaySimAnswers, FaultsSpoilTheTwoSendsOnly) {
  Faults faults;
  faults.status = 500;
  faults.closeWithoutAnswer = true;
  faults.delayMs = 1200;
  struct Case {
    std::string path;
    std::string query;
    int status;
    bool spoiled;
  };
  const Case cases[] = {
      {"/send_sms.php", "go=sms2&adr=a@x.cz~&zprava=x", 500, true},
      {"/send_oskar.php", "go=sms2&adr=123456&zprava=x&predvolba=777&sender=&senderpred=", 500,
       true},
      {"/send_sms.php", "go=pricti113", 200, false},
      {"/eurotel_nova2.php", "", 200, false},
      {"/eurotel_nova2.php", "odeslat=1&cislo=1&zprava=x", 200, false},
      {"/send_sms.php", "go=jine", 404, false},
      {"/send_sms.php", "", 404, false},
      {"/favicon.ico", "", 404, false},
  };
  for (const auto& [path, query, status, spoiled] : cases) {
    const Request request{0, path, query};
    EXPECT_EQ(isSend(request), spoiled) << path << "?" << query;
    const Answer answer = answerFor(request, faults);
    EXPECT_EQ(answer.status, status) << path << "?" << query;
    EXPECT_EQ(answer.closeWithoutAnswer, spoiled) << path << "?" << query;
    EXPECT_EQ(answer.delayMs, spoiled ? 1200 : 0) << path << "?" << query;
    EXPECT_EQ(answerFor(request, Faults{}).status, status == 500 ? 200 : status);
  }
}

TEST(GatewaySimAnswers, HungTargetsAreNeverAnsweredAndTheStartUpCanBeDelayed) {
  Faults faults;
  faults.startUpDelayMs = 3000;
  faults.hung = {"/send_sms.php?go=pricti113", "/eurotel_nova2.php?odeslat"};
  struct Case {
    std::string path;
    std::string query;
    bool hangs;
    int delayMs;
  };
  const Case cases[] = {
      {"/send_sms.php", "go=pricti113", true, 3000},
      {"/send_sms.php", "go=sms2&adr=a@x.cz~&zprava=x", false, 0},
      {"/eurotel_nova2.php", "", false, 0},
      {"/eurotel_nova2.php", "odeslat=1&cislo=1&zprava=x", true, 0},
  };
  for (const auto& [path, query, hangs, delayMs] : cases) {
    const Answer answer = answerFor({0, path, query}, faults);
    EXPECT_EQ(answer.hangs, hangs) << path << "?" << query;
    EXPECT_EQ(answer.delayMs, delayMs) << path << "?" << query;
    EXPECT_EQ(describe(answer).starts_with("never answered"), hangs) << path << "?" << query;
  }
}

TEST(GatewaySimAnswers, SendsCanBeAnsweredWithoutAPage) {
  const Request send{0, "/send_sms.php", "go=sms2&adr=a@x.cz~&zprava=x"};
  Faults noContent;
  noContent.status = 204;
  Faults redirect;
  redirect.redirectTo = "http://127.0.0.2:9/jinde";
  Faults file;
  file.download = true;
  struct Case {
    Faults faults;
    std::string head;
  };
  const Case cases[] = {
      {noContent, "HTTP/1.1 204 No Content\r\nContent-Type: text/html; charset=windows-1250\r\n"
                  "Content-Length: 0\r\n"},
      {redirect, "HTTP/1.1 302 Found\r\nContent-Type: text/html; charset=windows-1250\r\n"
                 "Location: http://127.0.0.2:9/jinde\r\nContent-Length: 0\r\n"},
      {file, "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
             "Content-Disposition: attachment; filename=\"zprava.txt\"\r\nContent-Length: 14\r\n"},
  };
  for (const auto& [faults, head] : cases) {
    EXPECT_TRUE(httpResponse(answerFor(send, faults)).starts_with(head)) << head;
    // The start-up request is answered with its page all the same.
    EXPECT_EQ(answerFor({0, "/send_sms.php", "go=pricti113"}, faults).status, 200);
  }
  EXPECT_TRUE(answerFor({0, "/download", ""}, {}).download);
}

TEST(GatewaySimAnswers, AChosenEurotelPageReplacesTheForm) {
  Faults faults;
  faults.eurotelPage = "<script>alert(1)</script>";
  EXPECT_EQ(answerFor({0, "/eurotel_nova2.php", ""}, faults).html, faults.eurotelPage);
  EXPECT_NE(answerFor({0, "/eurotel_nova2.php", "odeslat=1&cislo=1&zprava=x"}, faults)
                .html.find("byla přijata"),
            std::string::npos);
}

TEST(GatewaySimAnswers, EurotelPageHoldsAFormThatComesBackToIt) {
  const Answer form = answerFor({0, "/eurotel_nova2.php", ""}, {});
  EXPECT_NE(form.html.find(R"(<form action="/eurotel_nova2.php" method="get">)"),
            std::string::npos);
  for (const char* field : {R"(name="odeslat" value="1")", R"(name="cislo")", R"(name="zprava")"}) {
    EXPECT_NE(form.html.find(field), std::string::npos) << field;
  }
  const Answer received =
      answerFor({0, "/eurotel_nova2.php", "odeslat=1&cislo=%3Cb%3E&zprava=D%ECkuji+%26+ahoj"}, {});
  EXPECT_NE(received.html.find("Zpráva pro číslo &lt;b&gt; byla přijata:</p><p>Děkuji &amp; ahoj"),
            std::string::npos)
      << received.html;
}

TEST(GatewaySimAnswers, ResponseIsCodePage1250WithItsLengthAndNoCaching) {
  const Answer answer{503, "Chyba č.", 0, false};
  EXPECT_EQ(httpResponse(answer),
            "HTTP/1.1 503 Service Unavailable\r\n"
            "Content-Type: text/html; charset=windows-1250\r\n"
            "Content-Length: 8\r\n"
            "Cache-Control: no-store\r\n"
            "Connection: close\r\n"
            "\r\n"
            "Chyba \xE8.");
  EXPECT_EQ(httpResponse({200, "", 0, false}).substr(0, 17), "HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(httpResponse({404, "", 0, false}).substr(0, 24), "HTTP/1.1 404 Not Found\r\n");
}

}  // namespace
}  // namespace movarek::gatewaysim
