#include "base/Numbers.h"
#include "base/TextHelpers.h"

#include <gtest/gtest.h>

using namespace swr;

// Both rules side by side: the whole text, and the text trimmed of blanks and control
// characters; -1 stands for "not a number" (the fallback passed).
TEST(Numbers, WholeAndTrimmedRules)
{
    struct Case {
        const char* text;
        int whole, trimmed;
    } cases[] = {
        {"0", 0, 0},
        {"01", 1, 1},
        {"-1", -1, -1},
        {"+12", 12, 12},
        {"2147483647", 2147483647, 2147483647},
        {"-2147483648", -2147483647 - 1, -2147483647 - 1},
        {"2147483648", -1, -1},
        {"99999999999999999999", -1, -1},
        {"", -1, -1},
        {"-", -1, -1},
        {" 1", -1, 1},
        {"1 ", -1, 1},
        {"\t7\r\n", -1, 7},
        {"1 2", -1, -1},
        {"1e3", -1, -1},
        {"0x10", -1, -1},
        {"\xd9\xa3", -1, -1}, // Arabic-Indic digit three
    };
    for (const Case& c : cases) {
        const QString t = QString::fromUtf8(c.text);
        EXPECT_EQ(Decimal_Whole_Or(t, -1), c.whole) << c.text;
        EXPECT_EQ(Decimal_Trimmed_Or(t, -1), c.trimmed) << c.text;
    }
    EXPECT_EQ(Decimal_Whole_Or("x", 7), 7);
    int v = 0;
    EXPECT_TRUE(Parse_Decimal_Trimmed(" -1 ", &v));
    EXPECT_EQ(v, -1);
    EXPECT_FALSE(Parse_Decimal_Trimmed("", &v));
    EXPECT_EQ(v, -1);
}

TEST(TextHelpers, TrimControlTakesEverythingUpToTheBlank)
{
    EXPECT_EQ(Trim_Control(QString::fromUtf8("\x01\t a b \r\n\x1f")), "a b");
    EXPECT_EQ(Trim_Control(QString::fromUtf8("\xc2\xa0x\xc2\xa0")), QString::fromUtf8("\xc2\xa0x\xc2\xa0"));
    EXPECT_EQ(Trim_Control("   "), "");
}
