#include "base/Xml.h"

#include <QStringEncoder>

#include <gtest/gtest.h>

#include <utility>

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

// Kept takes the values from the text as it stands: in a tag laid over several lines, with
// '>' and references in the values, in every encoding the loader reads, and far into a
// long file as well as at its start.
TEST(XmlBreaks, KeptInAnyEncodingAnywhereInTheFile)
{
    const QString tag = QStringLiteral("<row\r\n  a=\"1\r\n2\n3\t4\r5 > &amp;&#38;\u00E9\"\r\n\tb='x&#13;&#10;y' />");
    QString filler;
    for (int i = 0; i < 5000; ++i)
        filler += QStringLiteral("<f t=\"%1\"/>\r\n").arg(QString(40, QLatin1Char('x')));
    const auto encoded = [](const QString& text, QStringConverter::Encoding e) {
        QStringEncoder enc(e, QStringConverter::Flag::WriteBom);
        return QByteArray(enc(text));
    };
    for (const QString& before : {QString(), filler}) {
        const QString text = "<r>" + before + tag + "</r>";
        const struct {
            const char* kind;
            QByteArray bytes;
        } files[] = {
            {"UTF-8", text.toUtf8()},
            {"UTF-8 with mark", encoded(text, QStringConverter::Utf8)},
            {"UTF-16LE", encoded(text, QStringConverter::Utf16LE)},
            {"UTF-16BE", encoded(text, QStringConverter::Utf16BE)},
            {"ISO-8859-1", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + text.toLatin1()},
        };
        for (const auto& f : files) {
            SCOPED_TRACE(std::string(f.kind) + (before.isEmpty() ? " at the start" : " far into the file"));
            for (const auto& [breaks, a] : {std::pair{XmlBreaks::Normalised, QStringLiteral("1 2 3 4 5 > &&\u00E9")},
                                            std::pair{XmlBreaks::Kept, QStringLiteral("1\r\n2\n3\t4\r5 > &&\u00E9")}}) {
                pugi::xml_document doc;
                ASSERT_EQ(Load_Xml_Bytes(f.bytes, "t.xml", doc, nullptr, breaks), XmlLoad::Loaded);
                const pugi::xml_node row = Xml_Root(doc).child("row");
                EXPECT_EQ(Q(row.attribute("a").value()), a);
                EXPECT_EQ(Q(row.attribute("b").value()), "x\r\ny");
                EXPECT_EQ(Q(Xml_Root(doc).last_child().previous_sibling().attribute("t").value()),
                          before.isEmpty() ? QString() : QString(40, QLatin1Char('x')));
            }
        }
    }
}

// Element text, comments, processing instructions and CDATA: XML's LF when normalised,
// every break as it stands when kept; a break written as a reference is read either way.
TEST(XmlBreaks, TextCommentsInstructionsAndCdata)
{
    const QByteArray bytes = "<?xml version=\"1.0\"?>\r\n<!DOCTYPE r>\r\n<!--top\r\n-->\r\n"
                             "<r><a>1\r\n2\r3&#13;&amp;</a><b>\r\n</b><!--c\rd--><?p e\r\nf?><![CDATA[g\r\nh]]></r>";
    const struct {
        XmlBreaks breaks;
        const char *text, *blank, *top, *comment, *pi, *cdata;
    } cases[] = {
        {XmlBreaks::Normalised, "1\n2\n3\r&", "\n", "top\n", "c\nd", "e\nf", "g\nh"},
        {XmlBreaks::Kept, "1\r\n2\r3\r&", "\r\n", "top\r\n", "c\rd", "e\r\nf", "g\r\nh"},
    };
    for (const auto& c : cases) {
        pugi::xml_document doc;
        ASSERT_EQ(Load_Xml_Bytes(bytes, "t.xml", doc, nullptr, c.breaks), XmlLoad::Loaded);
        const pugi::xml_node r = doc.child("r");
        EXPECT_EQ(Q(r.child_value("a")), c.text);
        EXPECT_EQ(Q(r.child_value("b")), c.blank);
        EXPECT_EQ(Q(doc.first_child().value()), c.top);
        EXPECT_EQ(Q(r.child("b").next_sibling().value()), c.comment);
        EXPECT_EQ(Q(r.child("p").value()), c.pi);
        EXPECT_EQ(Q(r.last_child().value()), c.cdata);
    }
}
