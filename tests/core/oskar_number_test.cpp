#include "addressbook/oskar_number.h"

#include <gtest/gtest.h>

namespace movarek::testing {
namespace {

TEST(OskarNumberTest, PrefixAndNumberComeFromTheFirstNineCharacters) {
  struct Case {
    const char* text;
    int prefixIndex;  // -1: not an Oskar number
    const char* number;
  };
  const Case cases[] = {
      {"777123456", 3, "123456"},
      {"777123", 3, "123"},
      {"775123456789", 1, "123456"},
      {"608000001", 0, "000001"},
      {"776654321", 2, "654321"},
      {"776", 2, ""},
      {"+420777123456", -1, ""},
      {"602123456", -1, ""},
      {"", -1, ""},
      {"77", -1, ""},
      {" 777123456", -1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto oskar = parseOskarNumber(c.text);
    ASSERT_EQ(oskar.has_value(), c.prefixIndex >= 0);
    if (!oskar) continue;
    EXPECT_EQ(oskar->prefixIndex, c.prefixIndex);
    EXPECT_EQ(oskar->number, c.number);
  }
}

}  // namespace
}  // namespace movarek::testing
