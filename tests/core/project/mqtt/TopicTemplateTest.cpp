#include "project/mqtt/MqttTopics.h"
#include "project/mqtt/TopicTemplate.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace swr;

TEST(TopicTemplate, ErrorInTopicTemplate)
{
    const struct {
        const char* text;
        bool error;
    } cases[] = {
        {"$VALUE$", false},
        {"{\"speed\": $VALUE$, \"unit\": \"kn\"}", false},
        {"$VALUE", true},
        {"VALUE$", true},
        {"$a$ $b", true},
        {"$a$ $b$ $", true},
        {"$$", false},
        {"$$$$", false},
        {"", false},
        {"no keyword", false},
        {"$VALUE$\r\n$TIME$", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Error_In_Topic_Template(QString::fromUtf8(c.text)), c.error) << c.text;
}

TEST(TopicTemplate, EditorOpensAndClosesOnACell)
{
    swr::test::ProgramFolder p;
    p.start();

    const Topic_Editor t = Open_Topic_Editor(Pub_Template_Col, Pub_Template_Col, "{\r\n$VALUE$\r\n}");
    EXPECT_TRUE(t.TopicTemplate);
    EXPECT_EQ(t.Text, "{\n$VALUE$\n}");
    EXPECT_EQ(Topic_Editor_Caption(p.st, t), "Set Template");
    EXPECT_EQ(Topic_Editor_Label(p.st, t), "Set Template");
    EXPECT_TRUE(Open_Topic_Editor(Sub_Template_Col, Sub_Template_Col, "").TopicTemplate);

    const Topic_Editor topic = Open_Topic_Editor(1, Pub_Template_Col, "a/b");
    EXPECT_FALSE(topic.TopicTemplate);
    EXPECT_EQ(Topic_Editor_Caption(p.st, topic), "Set Topic");
    EXPECT_EQ(Topic_Editor_Label(p.st, topic), "Set Topic");

    // Cancel keeps the cell; OK stores the edit box's lines with CR LF; an unedited text
    // leaves the cell exactly as it was, whatever line breaks it had.
    const QString lf_cell = "x\ny";
    const Topic_Editor lf = Open_Topic_Editor(9, 9, lf_cell);
    EXPECT_EQ(Close_Topic_Editor(lf, "changed", false, lf_cell), lf_cell);
    EXPECT_EQ(Close_Topic_Editor(lf, "x\ny", true, lf_cell), lf_cell);
    EXPECT_EQ(Close_Topic_Editor(lf, "x\ny\nz", true, lf_cell), "x\r\ny\r\nz");
    EXPECT_EQ(Close_Topic_Editor(lf, QString("a") + QChar(0x2029) + "b", true, lf_cell), "a\r\nb");
    EXPECT_EQ(Close_Topic_Editor(lf, "", true, lf_cell), "");
}

TEST(TopicTemplate, KeywordGridHasOneEmptyRowWhenTheListIsEmpty)
{
    const QList<Topic_Keyword> none = Laod_Keywords();
    ASSERT_EQ(none.size(), 1);
    EXPECT_TRUE(none[0].Keyword.isEmpty() && none[0].Description.isEmpty());
    const QList<Topic_Keyword> two = Laod_Keywords({{"$VALUE$", "the value"}, {"$TIME$", "t"}});
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[1].Keyword, "$TIME$");
}
