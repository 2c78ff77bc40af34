#include "app/Xml.h"

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
