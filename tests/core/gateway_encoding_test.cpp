#include "send/gateway_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/cp1250.h"

namespace movarek {
namespace {

// Encodes `input` in a buffer of `capacity` bytes and returns the whole buffer, so that a test
// also sees what stands behind the output.
std::vector<char> encodeBuffer(const std::string& input, std::int32_t capacity) {
  std::vector<char> buffer(static_cast<std::size_t>(capacity), '\x55');
  if (input.size() >= buffer.size()) {
    ADD_FAILURE() << "the input does not fit a buffer of " << capacity << " bytes";
    return buffer;
  }
  std::copy(input.begin(), input.end(), buffer.begin());
  buffer[input.size()] = '\0';
  EncodeForGateway(buffer.data(), capacity);
  return buffer;
}

std::string encode(const std::string& input, std::int32_t capacity) {
  return encodeBuffer(input, capacity).data();
}

TEST(EncodeForGateway, ReplacesEveryCzechLetterByItsBaseLetterUnderBothRuleSets) {
  const std::string letters = utf8ToCp1250("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
  ASSERT_EQ(letters.size(), 30u);
  for (std::int32_t capacity : {kAddressCapacity, kMessageCapacity}) {
    EXPECT_EQ(encode(letters, capacity), "acdeeinorstuuyzACDEEINORSTUUYZ") << capacity;
  }
}

TEST(EncodeForGateway, OtherBytesByRuleSet) {
  struct Case {
    std::string input;
    std::string address;  // capacity 2000
    std::string message;  // any other capacity
  };
  const std::vector<Case> cases = {
      {" ", "", "+"},
      {",", "~", ","},
      {";", "~", ";"},
      {"\n", "%0A", "%0A"},
      {"\r", "", ""},
      {"\r\n", "%0A", "%0A"},
      {"a\rb", "ab", "ab"},
      {"\t=?/", "\t=?/", "\t=?/"},
      // What the user typed reaches the gateway as typed: the query's own characters escaped.
      {"%", "%25", "%25"},
      {"&", "%26", "%26"},
      {"+", "%2B", "%2B"},
      {"#", "%23", "%23"},
      {utf8ToCp1250("äöüľĺŕőűł„“–"), utf8ToCp1250("äöüľĺŕőűł„“–"), utf8ToCp1250("äöüľĺŕőűł„“–")},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(encode(c.input, kAddressCapacity), c.address) << c.input;
    EXPECT_EQ(encode(c.input, kMessageCapacity), c.message) << c.input;
  }
}

TEST(EncodeForGateway, OnlyCapacity2000SelectsTheAddressRules) {
  const std::string list = "jan@sms.cz; eva@sms.cz, x";
  EXPECT_EQ(encode(list, 2000), "jan@sms.cz~eva@sms.cz~x");
  EXPECT_EQ(encode(list, 1999), "jan@sms.cz;+eva@sms.cz,+x");
  EXPECT_EQ(encode(list, 10000), "jan@sms.cz;+eva@sms.cz,+x");
}

TEST(EncodeForGateway, WholeMessages) {
  EXPECT_EQ(encode(utf8ToCp1250("Ahoj, jak se máš?\r\nČau"), kMessageCapacity),
            "Ahoj,+jak+se+mas?%0ACau");
  EXPECT_EQ(encode(utf8ToCp1250("Ahoj, jak se máš?\r\nČau & ahoj"), kMessageCapacity),
            "Ahoj,+jak+se+mas?%0ACau+%26+ahoj");
  EXPECT_EQ(encode("a@b.cz&adr=someone@else", kMessageCapacity), "a@b.cz%26adr=someone@else");
  EXPECT_EQ(encode(utf8ToCp1250("Řeka ř"), kMessageCapacity), "Reka+r");
}

TEST(EncodeForGateway, EmptyInputLeavesTheBufferZeroOverItsCapacity) {
  const auto buffer = encodeBuffer("", 50);
  EXPECT_EQ(std::count(buffer.begin(), buffer.end(), '\0'), 50);
}

TEST(EncodeForGateway, OutputNeverPassesCapacityMinusOne) {
  // Line feeds triple; a replacement that does not fit whole is not begun.
  const auto buffer = encodeBuffer(std::string(5, '\n'), 10);
  EXPECT_EQ(std::string(buffer.data()), "%0A%0A%0A");
  EXPECT_EQ(buffer[9], '\0');
  EXPECT_EQ(encode(std::string(3000, '\n'), kMessageCapacity).size(), 9000u);
  EXPECT_EQ(encode(std::string(9999, '\n'), kMessageCapacity).size(), 9999u);
  EXPECT_EQ(encode(std::string(1999, 'x'), kAddressCapacity).size(), 1999u);
  // A one-byte buffer holds no text: even a byte left in it unterminated gives nothing, and
  // nothing behind the buffer is read or written.
  std::vector<char> one{'a'};
  EncodeForGateway(one.data(), 1);
  EXPECT_EQ(one[0], '\0');
}

// What would travel as "?" is found before it does, each character once.
TEST(CharactersCp1250Lacks, ListsWhatWouldBecomeAQuestionMark) {
  struct Case {
    std::string utf8;
    std::u32string lacking;
  };
  const std::vector<Case> cases = {
      {"Příliš žluťoučký kůň? „ano“ – 5 €", U""},
      {"Ahoj \xF0\x9F\x98\x80 \xD0\x96\xD0\xB0\xD0\xBD\xD0\xBD\xD0\xB0",
       U"\U0001F600\u0416\u0430\u043D"},
      {"a\xE2\x80\x8B"
       "b\xFF",
       U"\u200B\uFFFD"},
  };
  for (const auto& c : cases) {
    const auto lacking = charactersCp1250Lacks(c.utf8);
    EXPECT_EQ(std::u32string(lacking.begin(), lacking.end()), c.lacking) << c.utf8;
  }
  // Each becomes one "?" on the way, however many bytes it took.
  EXPECT_EQ(utf8ToCp1250(cases[1].utf8), "Ahoj ? ?????");
}

TEST(EscapeQueryCharacters, EscapesTheQueryCharactersAndKeepsTheRest) {
  EXPECT_EQ(escapeQueryCharacters("777 123&adr=x%+#" + utf8ToCp1250("ř")),
            "777 123%26adr=x%25%2B%23" + utf8ToCp1250("ř"));
}

}  // namespace
}  // namespace movarek
