// The one loader every reader uses: what XML 1.0 refuses is refused with a place and a
// reason, what it allows reads, and the tree is the one the readers have always walked.
#include "base/Xml.h"

#include "TestSupport.h"

#include <QDir>
#include <QStringEncoder>

#include <gtest/gtest.h>

#include <string>

using namespace swr;

namespace {

// The nodes under n in document order: <element a=v>children</>, 'text', [cdata],
// !comment!, ?pi value?.
std::string Shape(const pugi::xml_node& n)
{
    std::string s;
    for (const pugi::xml_node c : n.children()) {
        switch (c.type()) {
        case pugi::node_element:
            s += std::string("<") + c.name();
            for (const pugi::xml_attribute a : c.attributes())
                s += std::string(" ") + a.name() + "=" + a.value();
            s += ">" + Shape(c) + "</>";
            break;
        case pugi::node_pcdata:
            s += std::string("'") + c.value() + "'";
            break;
        case pugi::node_cdata:
            s += std::string("[") + c.value() + "]";
            break;
        case pugi::node_comment:
            s += std::string("!") + c.value() + "!";
            break;
        case pugi::node_pi:
            s += std::string("?") + c.name() + " " + c.value() + "?";
            break;
        default:
            s += "(other)";
        }
    }
    return s;
}

XmlLoad Load(const QByteArray& bytes, pugi::xml_document& doc, XmlError* e = nullptr)
{
    return Load_Xml_Bytes(bytes, "t.xml", doc, e);
}

QByteArray Encoded(const QString& text, QStringConverter::Encoding encoding, bool bom)
{
    QStringEncoder enc(encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return enc(text);
}

} // namespace

// One or more documents for each rule of XML 1.0 that a document can break, in the order
// of the productions: all are refused, each with a place and a reason.
TEST(XmlLoad, NotWellFormedDocumentsAreRefused)
{
    const struct {
        const char* kind;
        QByteArray doc;
    } cases[] = {
        // the document as a whole
        {"empty", ""},
        {"only blanks", "  \n"},
        {"only a comment", "<!-- c -->"},
        {"only a declaration", "<?xml version=\"1.0\"?>"},
        {"text before the root", "x<r/>"},
        {"a character reference after the root", "<r/>&#32;"},
        {"two roots", "<r/><r/>"},
        {"end tag without start", "</r>"},
        {"overlapping elements", "<a><b></a></b>"},
        {"end tag of another case", "<r></R>"},
        {"unclosed element", "<r><a></r>"},
        {"truncated in a start tag", "<r a=\"1\""},
        {"a second byte-order mark", "\xEF\xBB\xBF\xEF\xBB\xBF<r/>"},
        // declaration
        {"declaration after a line break", "\n<?xml version=\"1.0\"?><r/>"},
        {"declaration after the root", "<r/><?xml version=\"1.0\"?>"},
        {"declaration inside the root", "<r><?xml version=\"1.0\"?></r>"},
        {"declaration without version", "<?xml encoding=\"UTF-8\"?><r/>"},
        {"declaration in the wrong order", "<?xml encoding=\"UTF-8\" version=\"1.0\"?><r/>"},
        {"standalone neither yes nor no", "<?xml version=\"1.0\" standalone=\"maybe\"?><r/>"},
        {"no blank between pseudo-attributes", "<?xml version=\"1.0\"encoding=\"UTF-8\"?><r/>"},
        {"quotes that do not match", "<?xml version=\"1.0'?><r/>"},
        {"version 2.0", "<?xml version=\"2.0\"?><r/>"},
        {"declaration in capitals", "<?XML version=\"1.0\"?><r/>"},
        // document type
        {"no blank after DOCTYPE", "<!DOCTYPEr><r/>"},
        {"document type without a name", "<!DOCTYPE><r/>"},
        {"document type in lower case", "<!doctype r><r/>"},
        {"document type after the root", "<r/><!DOCTYPE r>"},
        {"two document types", "<!DOCTYPE r><!DOCTYPE r><r/>"},
        {"SYSTEM without a literal", "<!DOCTYPE r SYSTEM><r/>"},
        {"PUBLIC without a system literal", "<!DOCTYPE r PUBLIC \"p\"><r/>"},
        {"public identifier with a brace", "<!DOCTYPE r PUBLIC \"{\" \"s\"><r/>"},
        {"internal subset not closed", "<!DOCTYPE r [<!ELEMENT r ANY><r/>"},
        {"text in the internal subset", "<!DOCTYPE r [ text ]><r/>"},
        {"conditional section in the internal subset", "<!DOCTYPE r [<![INCLUDE[<!ELEMENT r ANY>]]>]><r/>"},
        {"element declaration without content", "<!DOCTYPE r [<!ELEMENT r>]><r/>"},
        {"#PCDATA not first in mixed content", "<!DOCTYPE r [<!ELEMENT r (a|#PCDATA)>]><r/>"},
        {"notation without identifier", "<!DOCTYPE r [<!NOTATION n>]><r/>"},
        {"-- in a comment of the internal subset", "<!DOCTYPE r [<!-- a -- b -->]><r/>"},
        {"undeclared parameter entity", "<!DOCTYPE r [%p;]><r/>"},
        // declarations the tree would not apply: refused, never expanded or loaded
        {"entity declaration", "<!DOCTYPE r [<!ENTITY e \"x\">]><r>&e;</r>"},
        {"unused entity declaration", "<!DOCTYPE r [<!ENTITY e \"x\">]><r/>"},
        {"parameter entity declaration", "<!DOCTYPE r [<!ENTITY % p \"\">]><r/>"},
        {"attribute list declaration", "<!DOCTYPE r [<!ATTLIST r a CDATA #IMPLIED>]><r/>"},
        {"unparsed entity", "<!DOCTYPE r [<!NOTATION n SYSTEM \"n\"><!ENTITY e SYSTEM \"x\" NDATA n>]><r/>"},
        {"entities referring to each other", "<!DOCTYPE r [<!ENTITY a \"&b;\"><!ENTITY b \"&a;\">]><r>&a;</r>"},
        {"entities multiplying", "<!DOCTYPE r [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]><r>&b;</r>"},
        {"external entity", "<!DOCTYPE r [<!ENTITY e SYSTEM \"file:///etc/hostname\">]><r>&e;</r>"},
        // names
        {"name starting with a digit", "<1r/>"},
        {"name starting with '-'", "<-r/>"},
        {"name starting with '.'", "<.r/>"},
        {"blank after '<'", "< r/>"},
        {"name with a character no edition allows", "<r\xC3\x97/>"},
        {"character reference in a name", "<r&#65;/>"},
        {"attribute name starting with a digit", "<r 1a=\"x\"/>"},
        {"blank after '</'", "<r></ r>"},
        // attributes
        {"value without quotes", "<r a=1/>"},
        {"no '='", "<r a \"1\"/>"},
        {"no value", "<r a/>"},
        {"no blank between attributes", "<r a=\"1\"b=\"2\"/>"},
        {"'<' in a value", "<r a=\"<\"/>"},
        {"bare '&' in a value", "<r a=\"&\"/>"},
        {"undeclared entity in a value", "<r a=\"&e;\"/>"},
        {"quotes that do not match", "<r a=\"1'/>"},
        {"repeated attribute", "<r a=\"1\" a=\"2\"/>"},
        {"attribute in an end tag", "<r></r a=\"1\">"},
        // content and references
        {"bare '&'", "<r>&</r>"},
        {"reference without ';'", "<r>&amp</r>"},
        {"reference without a name", "<r>&;</r>"},
        {"bare '<'", "<r><</r>"},
        {"']]>' in text", "<r>]]></r>"},
        {"character reference to 0", "<r>&#0;</r>"},
        {"character reference to a surrogate", "<r>&#xD800;</r>"},
        {"character reference to U+FFFE", "<r>&#xFFFE;</r>"},
        {"character reference beyond Unicode", "<r>&#x110000;</r>"},
        {"character reference without digits", "<r>&#;</r>"},
        {"hexadecimal reference without digits", "<r>&#x;</r>"},
        {"decimal reference with a letter", "<r>&#12a;</r>"},
        {"capital X in a hexadecimal reference", "<r>&#X41;</r>"},
        // characters
        {"control character", "<r>\x01</r>"},
        {"control character in a value", "<r a=\"\x1F\"/>"},
        {"NUL", QByteArray("<r>\0</r>", 8)},
        {"U+FFFE", "<r>\xEF\xBF\xBE</r>"},
        {"surrogate written in UTF-8", "<r>\xED\xA0\x80</r>"},
        {"truncated UTF-8", "<r>\xC3</r>"},
        {"overlong UTF-8", "<r>\xC0\xBC</r>"},
        // comments, processing instructions, CDATA
        {"-- in a comment", "<r><!-- a -- b --></r>"},
        {"comment ending in --->", "<r><!-- a ---></r>"},
        {"comment not closed", "<r><!-- a </r>"},
        {"comment opened with <!-", "<r><!- a --></r>"},
        {"processing instruction without target", "<r><? x?></r>"},
        {"target xml inside the document", "<r><?xml x?></r>"},
        {"processing instruction not closed", "<r><?p x</r>"},
        {"no blank after the target", "<r><?p\"x\"?></r>"},
        {"CDATA not closed", "<r><![CDATA[x</r>"},
        {"CDATA in lower case", "<r><![cdata[x]]></r>"},
        {"CDATA outside the root", "<![CDATA[x]]><r/>"},
        {"blank inside <![CDATA[", "<r><![ CDATA[x]]></r>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        pugi::xml_document doc;
        XmlError e;
        ASSERT_EQ(Load(c.doc, doc, &e), XmlLoad::Failed);
        EXPECT_EQ(e.file, "t.xml");
        EXPECT_GE(e.line, 1);
        EXPECT_GE(e.column, 1);
        EXPECT_FALSE(e.reason.isEmpty());
        EXPECT_FALSE(doc.first_child()) << "nothing is left of a refused file";
    }
}

// Names built from characters of later Unicode versions, which XML 1.0 fifth edition
// allows, and names the namespace layer would object to: all plain XML 1.0.
TEST(XmlLoad, FifthEditionNamesRead)
{
    pugi::xml_document doc;
    XmlError e;
    const QByteArray text = QStringLiteral("<r><\u0D7A/><\U00010000 \u1200=\"1\"/><a\u00B7b/><\u2C00\U0001F6A2/>"
                                           "<a:b:c p:x=\"2\"/><_/></r>")
                                .toUtf8();
    ASSERT_EQ(Load(text, doc, &e), XmlLoad::Loaded) << e.reason.toStdString();
    EXPECT_EQ(QString::fromStdString(Shape(doc)),
              QStringLiteral("<r><\u0D7A></><\U00010000 \u1200=1></><a\u00B7b></><\u2C00\U0001F6A2></>"
                             "<a:b:c p:x=2></><_></></>"));
}

// Comments and processing instructions are nodes wherever they stand, the declaration
// and the document type are not, text made only of blanks is kept when it is all its
// element holds or is written as references, references are replaced.
TEST(XmlLoad, TreeAsTheReadersExpect)
{
    const QByteArray text = "<?xml version=\"1.0\"?>\n"
                            "<!--before-->\n"
                            "<!DOCTYPE r [<!ELEMENT r ANY><!--in the document type--><?in x?>]>\n"
                            "<?first a  b?>\n"
                            "<r a=\"&lt;&amp;&gt;&quot;&apos;\" b=\"&#38;&#x26;&#65;\">\n"
                            "  <blank> </blank>\n"
                            "  <lines>\r\n\t</lines>\n"
                            "  <spaced> <x/> </spaced>\n"
                            "  <after><!--c--> </after>\n"
                            "  <mixed>a<b/>c<![CDATA[<d> ]]>e<?p f?>g<!--h-->i&amp;j&#65;</mixed>\n"
                            "  <refs>&#32;<x/>&#9;</refs>\n"
                            "</r>\n"
                            "<!-- SW_VERSION = 1.002 -->\n";
    pugi::xml_document doc;
    ASSERT_EQ(Load(text, doc), XmlLoad::Loaded);
    EXPECT_EQ(Shape(doc), "!before!?first a  b?"
                          "<r a=<&>\"' b=&&A>"
                          "<blank>' '</><lines>'\n\t'</><spaced><x></></><after>!c!</>"
                          "<mixed>'a'<b></>'c'[<d> ]'e'?p f?'g'!h!'i&jA'</>"
                          "<refs>' '<x></>'\t'</>"
                          "</>! SW_VERSION = 1.002 !");
    EXPECT_EQ(Xml_Root(doc).type(), pugi::node_comment) << "the first node is the root, whatever it is";
}

// A document type naming a file is never read: its entities stay undeclared and its
// attribute defaults are not applied.
TEST(XmlLoad, DocumentTypeFilesAreNeverRead)
{
    test::ProgramFolder p;
    p.write("defs.dtd", "<!ENTITY e \"x\"><!ATTLIST r a CDATA \"default\">");
    const QByteArray dtd = QDir::fromNativeSeparators(p.path("defs.dtd")).toUtf8();
    pugi::xml_document doc;
    XmlError e;
    ASSERT_EQ(Load("<!DOCTYPE r SYSTEM \"" + dtd + "\"><r/>", doc), XmlLoad::Loaded);
    EXPECT_EQ(Shape(doc), "<r></>");
    EXPECT_EQ(Load("<!DOCTYPE r SYSTEM \"" + dtd + "\"><r>&e;</r>", doc, &e), XmlLoad::Failed);
    EXPECT_TRUE(e.reason.contains("'e'")) << e.reason.toStdString();
    EXPECT_EQ(Load("<!DOCTYPE r [<!ENTITY % d SYSTEM \"" + dtd + "\"> %d;]><r>&e;</r>", doc), XmlLoad::Failed);
}

// The encoding comes from the byte-order mark, from how UTF-16 or UTF-32 write the first
// "<", or from the declaration; one that cannot be decoded is named in the reason.
TEST(XmlLoad, Encodings)
{
    const QString text = QStringLiteral("<r a=\"\u00E9\u65E5\U0001F6A2\">\u00FC</r>");
    const struct {
        const char* kind;
        QByteArray bytes;
    } cases[] = {
        {"UTF-8", text.toUtf8()},
        {"UTF-16LE without mark", Encoded(text, QStringConverter::Utf16LE, false)},
        {"UTF-16BE without mark", Encoded(text, QStringConverter::Utf16BE, false)},
        {"UTF-32LE with mark", Encoded(text, QStringConverter::Utf32LE, true)},
        {"UTF-32BE with mark", Encoded(text, QStringConverter::Utf32BE, true)},
        {"UTF-16 declared UTF-8 after its mark",
         Encoded("<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + text, QStringConverter::Utf16LE, true)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        pugi::xml_document doc;
        XmlError e;
        ASSERT_EQ(Load(c.bytes, doc, &e), XmlLoad::Loaded) << e.reason.toStdString();
        EXPECT_EQ(Q(Xml_Root(doc).attribute("a").value()), QStringLiteral("\u00E9\u65E5\U0001F6A2"));
        EXPECT_EQ(Xml_Text(Xml_Root(doc)), QStringLiteral("\u00FC"));
    }
    pugi::xml_document doc;
    ASSERT_EQ(Load("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><r a=\"\xE9\">\xFC</r>", doc), XmlLoad::Loaded);
    EXPECT_EQ(Q(Xml_Root(doc).attribute("a").value()), QStringLiteral("\u00E9"));
    EXPECT_EQ(Xml_Text(Xml_Root(doc)), QStringLiteral("\u00FC"));
    XmlError e;
    ASSERT_EQ(Load("<?xml version=\"1.0\" encoding=\"x-no-such\"?><r/>", doc, &e), XmlLoad::Failed);
    EXPECT_TRUE(e.reason.contains("x-no-such")) << e.reason.toStdString();
}

// A character XML never allows is named by its code, wherever it stands and whatever the
// encoding; the place is that of the character.
TEST(XmlLoad, CharactersNeverAllowedAreNamed)
{
    const struct {
        QByteArray doc;
        int line, column;
        const char* code;
    } cases[] = {
        {"<r>\n<a>\x01</a></r>", 2, 4, "U+0001"},
        {"<r>\n\xC3\xA9\xC3\xA9<a b=\"\x1F\"/></r>", 2, 9, "U+001F"},
        {"<r><!-- \x08 --></r>", 1, 9, "U+0008"},
        {QByteArray("<r>\0</r>", 8), 1, 4, "U+0000"},
        {"<r>\xEF\xBF\xBF</r>", 1, 4, "U+FFFF"},
        {"<r>\xED\xBF\xBF</r>", 1, 4, "U+DFFF"},
        {Encoded(QStringLiteral("<r>\n\u00E9\u001B</r>"), QStringConverter::Utf16BE, true), 2, 2, "U+001B"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        pugi::xml_document doc;
        XmlError e;
        ASSERT_EQ(Load(c.doc, doc, &e), XmlLoad::Failed);
        EXPECT_EQ(e.line, c.line);
        EXPECT_EQ(e.column, c.column);
        EXPECT_EQ(e.reason, QStringLiteral("Character %1 is not allowed in XML.").arg(c.code));
    }
}
