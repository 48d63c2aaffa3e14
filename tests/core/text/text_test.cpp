#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/text/cut.h"
#include "core/text/fixed_field.h"
#include "core/text/numbers.h"
#include "core/text/sjis.h"

namespace sorano {
namespace {

// "東証1部" in Shift_JIS.
const std::string kToushou1 =
    "\x93\x8c\x8f\xd8"
    "1"
    "\x95\x94";

TEST(Sjis, RoundTripsJapaneseText) {
  EXPECT_EQ(SjisToUtf8(kToushou1), "東証1部");
  EXPECT_EQ(Utf8ToSjis("東証1部"), kToushou1);
  // Characters that differ between plain Shift_JIS and code page 932.
  EXPECT_EQ(SjisToUtf8(Utf8ToSjis("～①ー")), "～①ー");
  EXPECT_EQ(SjisToUtf8(""), "");
}

TEST(Sjis, InvalidBytesBecomeReplacementCharacters) {
  // 0xA0 is not a CP932 character; a lead byte at the very end has no trail byte.
  EXPECT_EQ(SjisToUtf8("a\xA0"
                       "b"),
            "a\xEF\xBF\xBD"
            "b");
  EXPECT_EQ(SjisToUtf8("ab\x93"), "ab\xEF\xBF\xBD");
  // Invalid UTF-8 and characters outside CP932 become '?', the rest survives.
  EXPECT_EQ(Utf8ToSjis("a\xFF"
                       "b"),
            "a?b");
  EXPECT_EQ(Utf8ToSjis("x😀y"), "x?y");
}

TEST(Numbers, LeadingIntStopsAtFirstNonDigitAndSaturates) {
  EXPECT_EQ(LeadingInt("7203,1,16"), 7203);
  EXPECT_EQ(LeadingInt("  -42abc"), -42);
  EXPECT_EQ(LeadingInt("+17\r"), 17);
  EXPECT_EQ(LeadingInt(""), 0);
  EXPECT_EQ(LeadingInt("-"), 0);
  EXPECT_EQ(LeadingInt("abc"), 0);
  EXPECT_EQ(LeadingInt("2147483647"), INT32_MAX);
  EXPECT_EQ(LeadingInt("2147483648"), INT32_MAX);
  EXPECT_EQ(LeadingInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(LeadingInt("-99999999999999999999999"), INT32_MIN);
  EXPECT_EQ(LeadingInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(LeadingInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(LeadingInt64("99999999999999999999999"), INT64_MAX);
  EXPECT_EQ(LeadingInt64("5000000000"), 5000000000LL);
}

TEST(Numbers, LeadingDouble) {
  EXPECT_DOUBLE_EQ(LeadingDouble("0.5,x"), 0.5);
  EXPECT_DOUBLE_EQ(LeadingDouble(" -1.25%"), -1.25);
  EXPECT_DOUBLE_EQ(LeadingDouble("+.5"), 0.5);
  EXPECT_DOUBLE_EQ(LeadingDouble("12"), 12.0);
  EXPECT_DOUBLE_EQ(LeadingDouble("---"), 0.0);
  EXPECT_DOUBLE_EQ(LeadingDouble(""), 0.0);
  EXPECT_DOUBLE_EQ(LeadingDouble("1e400"), std::numeric_limits<double>::max());
  EXPECT_DOUBLE_EQ(LeadingDouble("1e-400"), 0.0);
  // No digits, a signed zero or a word: +0.0, never -0.0 (it prints as "-0.00") nor inf or NaN.
  for (const char* text : {"---", "-", "-.", "- 1", "-0.00", "-0", "-inf", "nan", "-e5"}) {
    const double v = LeadingDouble(text);
    EXPECT_EQ(v, 0.0) << text;
    EXPECT_FALSE(std::signbit(v)) << text;
  }
  // Found by fuzzing against strtod: a second sign was read as the number's own ("--92" gave 92), and
  // text after an over-long number decided whether it was huge or tiny.
  EXPECT_DOUBLE_EQ(LeadingDouble("  --92"), 0.0);
  EXPECT_DOUBLE_EQ(LeadingDouble("+-5"), 0.0);
  EXPECT_DOUBLE_EQ(LeadingDouble("1" + std::string(400, '0') + " x e-5"), std::numeric_limits<double>::max());
  EXPECT_DOUBLE_EQ(LeadingDouble("0.000" + std::string(400, '0') + "1e3"), 0.0);
}

TEST(Cut, DeleteReplaceFindBetween) {
  std::string s = "<b>3,500</b>";
  DeleteAll(s, "<b>");
  DeleteAll(s, "</b>");
  DeleteAll(s, ",");
  EXPECT_EQ(s, "3500");
  std::string r = "aaa";
  ReplaceAll(r, "a", "aa");  // inserted text is not rescanned
  EXPECT_EQ(r, "aaaaaa");
  ReplaceAll(r, "", "x");
  EXPECT_EQ(r, "aaaaaa");

  std::string_view page = "<td>1</td><td>2</td>";
  size_t next = 0;
  auto first = Between(page, "<td>", "</td>", 0, &next);
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, "1");
  auto second = Between(page, "<td>", "</td>", next, &next);
  ASSERT_TRUE(second);
  EXPECT_EQ(*second, "2");
  EXPECT_EQ(next, page.size());
  EXPECT_FALSE(Between(page, "<td>", "</td>", next));
  EXPECT_FALSE(Between(page, "<td>", "</th>"));
  EXPECT_FALSE(Between(page, "<td>", "</td>", page.size() + 100));
  EXPECT_EQ(FindAfter(page, 1000, "<td>"), std::string_view::npos);
  EXPECT_EQ(FindAfter(page, 1, "<td>"), 10u);
}

TEST(FixedField, CutsAtCharacterBoundary) {
  // 12-byte field: 11 bytes of text at most. "東証1部" is 7 bytes, twice is 14.
  std::string twice = kToushou1 + kToushou1;
  EXPECT_EQ(SjisFitLength(twice, 12), 11u);  // 東証1部東証: the next 部 would need 13
  EXPECT_EQ(SjisFitLength("abcdefghijk"
                          "\x93\x8c",
                          12),
            11u);
  EXPECT_EQ(SjisFitLength("abcdefghij"
                          "\x93\x8c",
                          12),
            10u);  // the two-byte char would need 12
  EXPECT_EQ(SjisFitLength("abc", 1), 0u);
  EXPECT_EQ(SjisFitLength("abc", 0), 0u);
  EXPECT_EQ(SjisFitLength("ab\x93", 20), 2u);  // a lead byte without its trail is dropped

  std::array<char, 12> field;
  field.fill('Z');
  SetField(field,
           "abcdefghij"
           "\x93\x8c");
  EXPECT_EQ(std::string(field.data(), 12), std::string("abcdefghij\0\0", 12));
  EXPECT_EQ(FieldText(field), "abcdefghij");
  // A field's text ends at a zero byte; what follows it is not copied (found by fuzzing: a lead byte
  // before the zero took it as its trail byte and the text no longer read back the same).
  SetField(field, std::string_view("ab\x93\0cd", 6));
  EXPECT_EQ(std::string(field.data(), 12), std::string(12, '\0').replace(0, 2, "ab"));
  std::array<char, 4> full = {'a', 'b', 'c', 'd'};  // no terminator: bounded by the field
  EXPECT_EQ(FieldText(full), "abcd");
}

}  // namespace
}  // namespace sorano
