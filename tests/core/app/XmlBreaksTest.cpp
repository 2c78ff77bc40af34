#include "app/Xml.h"

#include <gtest/gtest.h>

using namespace swr;

// Line breaks and tabs inside attributes: XML's normalisation by default, kept as they
// stand on request; escaped ones read back exactly either way.
TEST(XmlBreaks, AttributeLineBreaks)
{
    const QByteArray bytes = "<r a=\"1\r\n2\n3\t4\r5\" b=\"x&#13;&#10;y&#9;z\"/>";
    const struct {
        XmlBreaks breaks;
        const char* a;
    } cases[] = {
        {XmlBreaks::Normalised, "1 2 3 4 5"},
        {XmlBreaks::Kept, "1\r\n2\n3\t4\r5"},
    };
    for (const auto& c : cases) {
        pugi::xml_document doc;
        ASSERT_EQ(Load_Xml_Bytes(bytes, "t.xml", doc, nullptr, c.breaks), XmlLoad::Loaded);
        EXPECT_EQ(Q(Xml_Root(doc).attribute("a").value()), c.a);
        EXPECT_EQ(Q(Xml_Root(doc).attribute("b").value()), "x\r\ny\tz");
    }
}
