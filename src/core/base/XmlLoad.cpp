// Reading XML files: libxml2 checks the text and reports it node by node, and the
// pugixml tree every reader uses is built from those reports in the same pass.
#include "base/Xml.h"

#include <QFile>
#include <QStringDecoder>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace swr {

namespace {

// ---- The text the parser reads -------------------------------------------------------

// The document as UTF-8, which the parser reads in place: a plain UTF-8 file is not copied.
struct Parser_Text {
    QByteArray decoded; // holds the text when the file was in another encoding
    const char* data = nullptr;
    qsizetype size = 0;
    QString unsupported; // the encoding the declaration names, when it cannot be read
};

bool Xml_Blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The first place at or after i that holds no blank.
size_t Skip_Blanks(std::string_view text, size_t i)
{
    while (i < text.size() && Xml_Blank(text[i]))
        ++i;
    return i;
}

// Where the XML declaration at the start of the text ends; 0 when there is none.
size_t Declaration_End(std::string_view text)
{
    if (!text.starts_with("<?xml") || text.size() < 6 || !Xml_Blank(text[5]))
        return 0;
    const size_t end = text.find("?>");
    return end == std::string_view::npos ? 0 : end + 2;
}

// The encoding named by the XML declaration at the start of an 8-bit document, empty when
// there is none; a malformed declaration is left to the parser to report.
QByteArray Declared_Encoding(std::string_view text)
{
    const std::string_view decl = text.substr(0, Declaration_End(text));
    size_t i = decl.find("encoding");
    if (i == std::string_view::npos)
        return {};
    i = Skip_Blanks(decl, i + 8);
    if (i >= decl.size() || decl[i] != '=')
        return {};
    i = Skip_Blanks(decl, i + 1);
    if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\''))
        return {};
    const size_t close = decl.find(decl[i], i + 1);
    return close == std::string_view::npos ? QByteArray() : QByteArray(decl.data() + i + 1, qsizetype(close - i - 1));
}

// Where the prolog's declaration, comments, processing instructions and blanks end.
size_t Prolog_End(std::string_view text)
{
    const auto past = [&](size_t from, std::string_view end) {
        const size_t at = text.find(end, from);
        return at == std::string_view::npos ? text.size() : at + end.size();
    };
    size_t i = Declaration_End(text);
    for (;;) {
        i = Skip_Blanks(text, i);
        if (text.substr(i).starts_with("<!--"))
            i = past(i + 4, "-->");
        else if (text.substr(i).starts_with("<?"))
            i = past(i + 2, "?>");
        else
            return i;
    }
}

// A byte-order mark, or UTF-16 or UTF-32 beginning with "<", decides the encoding; else the
// one the declaration names; else the bytes are UTF-8. What is not UTF-8 is decoded here,
// so that the parser never decodes on its own and its offsets are offsets into this text.
Parser_Text Text_For_Parser(const QByteArray& bytes)
{
    Parser_Text t;
    t.data = bytes.constData();
    t.size = bytes.size();
    QStringDecoder decoder;
    if (const auto found = QStringConverter::encodingForData(bytes, u'<')) {
        if (*found == QStringConverter::Utf8) {
            t.data += 3; // the byte-order mark
            t.size -= 3;
            return t;
        }
        decoder = QStringDecoder(*found);
    } else {
        const QByteArray name = Declared_Encoding(std::string_view(bytes.constData(), size_t(bytes.size())));
        if (name.isEmpty() || QStringConverter::encodingForName(name.constData()) == QStringConverter::Utf8)
            return t;
        decoder = QStringDecoder(name.constData());
        if (!decoder.isValid()) {
            t.unsupported = QString::fromLatin1(name);
            return t;
        }
    }
    t.decoded = QString(decoder.decode(bytes)).toUtf8();
    t.data = t.decoded.constData();
    t.size = t.decoded.size();
    return t;
}

// ---- Character references and control characters -------------------------------------

void Append_Utf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// An attribute value as it stands in the text, its references replaced by their
// characters. The parser has already refused every reference that is not one of the five
// predefined entities or a character reference.
void Append_Decoded(std::string& out, std::string_view raw)
{
    static constexpr struct {
        std::string_view name;
        char c;
    } Predefined[] = {{"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"apos", '\''}, {"quot", '"'}};
    while (!raw.empty()) {
        const size_t amp = raw.find('&');
        const size_t semi = raw.find(';', amp);
        out.append(raw.substr(0, amp));
        if (amp == std::string_view::npos || semi == std::string_view::npos)
            return;
        const std::string_view ref = raw.substr(amp + 1, semi - amp - 1);
        if (!ref.empty() && ref.front() == '#') {
            const bool hex = ref.size() > 1 && ref[1] == 'x';
            char32_t c = 0;
            for (const char d : ref.substr(hex ? 2 : 1))
                c = c * (hex ? 16 : 10) + char32_t(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
            Append_Utf8(out, c);
        } else {
            for (const auto& p : Predefined)
                if (p.name == ref)
                    out += p.c;
        }
        raw.remove_prefix(semi + 1);
    }
}

// Text with XML's line ends: CR LF and a lone CR become LF.
std::string Xml_Line_Ends(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\r')
            out += raw[i];
        else if (i + 1 == raw.size() || raw[i + 1] != '\n')
            out += '\n';
    }
    return out;
}

// What the parser makes of a piece of the text: comments, processing instructions and
// CDATA as they stand, element text with its references replaced, attribute values also
// with every line break and tab a blank. Line ends are XML's in all of them.
enum class Reading { Verbatim, Text, Attribute };

std::string As_Read(std::string_view raw, Reading how)
{
    std::string lines = Xml_Line_Ends(raw);
    if (how == Reading::Verbatim)
        return lines;
    if (how == Reading::Attribute)
        std::replace_if(lines.begin(), lines.end(), [](char c) { return c == '\t' || c == '\n'; }, ' ');
    std::string out;
    Append_Decoded(out, lines);
    return out;
}

// A character XML does not allow anywhere in a document.
bool Not_Xml_Char(char32_t c)
{
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || (c >= 0xD800 && c < 0xE000)
           || c == 0xFFFE || c == 0xFFFF;
}

// The character at a line and column (from 1) as the parser counts them: lines end at LF,
// columns count characters. Nothing when the place lies outside the text or holds no
// whole UTF-8 sequence.
std::optional<char32_t> Char_At(std::string_view text, int line, int column)
{
    size_t i = 0;
    for (int l = 1; l < line; ++l) {
        const size_t lf = text.find('\n', i);
        if (lf == std::string_view::npos)
            return std::nullopt;
        i = lf + 1;
    }
    const auto length = [&](size_t at) {
        const auto b = static_cast<unsigned char>(text[at]);
        return b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    };
    for (int c = 1; c < column && i < text.size() && length(i) > 0; ++c)
        i += size_t(length(i));
    if (i >= text.size() || length(i) == 0 || i + size_t(length(i)) > text.size())
        return std::nullopt;
    const int n = length(i);
    char32_t c = static_cast<unsigned char>(text[i]) & (n == 1 ? 0x7F : 0x7F >> n);
    for (int k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(text[i + size_t(k)]);
        if ((b & 0xC0) != 0x80)
            return std::nullopt;
        c = c << 6 | (b & 0x3F);
    }
    return c;
}

// The parser names a character it refuses by its decimal value or not at all, and an
// error box does not show a control character: such a reason names its code instead.
QString Reason_At(const QString& reason, std::string_view text, int line, int column)
{
    const std::optional<char32_t> c = Char_At(text, line, column);
    if (!c || !Not_Xml_Char(*c))
        return reason;
    return QStringLiteral("Character U+%1 is not allowed in XML.")
        .arg(QString::number(uint(*c), 16).toUpper().rightJustified(4, u'0'));
}

// ---- The tree, built from the parser's reports --------------------------------------

const char* Str(const xmlChar* s)
{
    return s ? reinterpret_cast<const char*>(s) : "";
}

// Builds the document node by node while the parser reads, the same tree for the same
// text as the program always read: comments and processing instructions kept at every
// level, the declaration and document type left out, element text made only of blanks
// kept when it is all the element holds.
class Tree_Builder {
public:
    Tree_Builder(const Parser_Text& text, XmlBreaks breaks, pugi::xml_document& doc)
        : text_(text.data, size_t(text.size)), keep_breaks_(breaks == XmlBreaks::Kept), cursor_(doc)
    {
    }

    // Reads the whole text; false when it is not well-formed.
    bool Run();

    int line = 0;
    int column = 0;
    QString reason;

private:
    static Tree_Builder& Of(void* user) { return *static_cast<Tree_Builder*>(user); }

    static void Start_Element(void* user, const xmlChar* name, const xmlChar** atts);
    static void End_Element(void* user, const xmlChar*);
    static void Characters(void* user, const xmlChar* ch, int len);
    static void Comment(void* user, const xmlChar* value);
    static void Processing_Instruction(void* user, const xmlChar* target, const xmlChar* data);
    static void Cdata(void* user, const xmlChar* value, int len);
    static void Entity_Declaration(void* user, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*);
    static void Unparsed_Entity_Declaration(void* user, const xmlChar*, const xmlChar*, const xmlChar*,
                                            const xmlChar*);
    static void Attribute_Declaration(void* user, const xmlChar*, const xmlChar*, int, int, const xmlChar*,
                                      xmlEnumerationPtr tree);
    static void Document_Type(void* user, const xmlChar*, const xmlChar*, const xmlChar*);
    static void Document_Type_End(void* user, const xmlChar*, const xmlChar*, const xmlChar*);
    static void Error(void* user, const char*, ...);

    void Fail(int at_line, int at_column, const QString& why);
    void Place_Text(bool closing);
    pugi::xml_node Append(pugi::xml_node_type type);
    void Append_Marked(pugi::xml_node_type type, std::string value, size_t open, size_t close);
    bool Raw_Values(size_t count);
    std::string As_It_Stands(std::string value, size_t from, size_t to, Reading how) const;
    size_t Markup_Start() const;
    void Markup_Ends(size_t at) { mark_ = std::min(at, text_.size()); }
    // Whether nodes go into the tree: not after an error, not inside the document type.
    bool Building() const { return !failed_ && !ctxt_->inSubset; }

    std::string_view text_;
    bool keep_breaks_;
    pugi::xml_node cursor_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    std::string pending_;           // element text not yet placed
    std::vector<std::pair<size_t, size_t>> raw_; // where attribute values stand (XmlBreaks::Kept)
    size_t mark_ = 0;               // where the last markup ended
    bool failed_ = false;
};

// Where the parser stands in the text, in bytes from its start. The parser reads the text
// in place, without a decoder of its own, so this indexes the text handed to it.
size_t Parser_Offset(xmlParserCtxtPtr ctxt)
{
    const xmlParserInputPtr in = ctxt->input;
    return in && in->cur ? size_t(in->consumed) + size_t(in->cur - in->base) : 0;
}

void Tree_Builder::Fail(int at_line, int at_column, const QString& why)
{
    if (failed_)
        return;
    failed_ = true;
    line = qMax(1, at_line);
    column = qMax(1, at_column);
    reason = why;
}

void Tree_Builder::Error(void* user, const char*, ...)
{
    // The parser has just stored what went wrong in its context.
    Tree_Builder& b = Of(user);
    const xmlError& e = b.ctxt_->lastError;
    // Warnings are no faults of the document, except a reference to an entity that is
    // declared nowhere the parser looks (a document type in another file, never loaded).
    if (e.level < XML_ERR_ERROR && e.code != XML_WAR_UNDECLARED_ENTITY)
        return;
    QString why = QString::fromUtf8(e.message ? e.message : "").trimmed().replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (e.code == XML_ERR_TAG_NAME_MISMATCH)
        why.replace(QLatin1String(" line 0 and "), QLatin1String(" and ")); // no line is known to it
    b.Fail(e.line, e.int2, Reason_At(why, b.text_, e.line, e.int2));
}

// The parser lets "<!DOCTYPE" run into the name after it; XML wants a blank between.
void Tree_Builder::Document_Type(void* user, const xmlChar*, const xmlChar*, const xmlChar*)
{
    Tree_Builder& b = Of(user);
    const size_t at = Prolog_End(b.text_) + 9;
    if (b.text_.substr(0, at).ends_with("<!DOCTYPE") && at < b.text_.size() && !Xml_Blank(b.text_[at]))
        b.Fail(b.ctxt_->input->line, b.ctxt_->input->col, QStringLiteral("Space required after '<!DOCTYPE'"));
}

// The document type ends where the parser reports it done.
void Tree_Builder::Document_Type_End(void* user, const xmlChar*, const xmlChar*, const xmlChar*)
{
    Tree_Builder& b = Of(user);
    b.Markup_Ends(Parser_Offset(b.ctxt_));
}

// The tree builder never expands an entity or adds a default attribute that a document
// type declares: such a file is refused rather than read differently from what it says.
void Tree_Builder::Entity_Declaration(void* user, const xmlChar*, int, const xmlChar*, const xmlChar*, xmlChar*)
{
    Tree_Builder& b = Of(user);
    b.Fail(b.ctxt_->input->line, b.ctxt_->input->col,
           QStringLiteral("Entity and attribute declarations are not supported."));
}

void Tree_Builder::Unparsed_Entity_Declaration(void* user, const xmlChar*, const xmlChar*, const xmlChar*,
                                               const xmlChar*)
{
    Entity_Declaration(user, nullptr, 0, nullptr, nullptr, nullptr);
}

void Tree_Builder::Attribute_Declaration(void* user, const xmlChar*, const xmlChar*, int, int, const xmlChar*,
                                         xmlEnumerationPtr tree)
{
    xmlFreeEnumeration(tree); // the handler owns it
    Entity_Declaration(user, nullptr, 0, nullptr, nullptr, nullptr);
}

// Element text is placed when the next node starts or its element ends. Text made only of
// blanks is kept when it is all its element holds; blanks between nodes are layout, unless
// written as character references.
void Tree_Builder::Place_Text(bool closing)
{
    if (pending_.empty())
        return;
    const size_t end = text_.find('<', mark_);
    const bool blank = std::all_of(pending_.begin(), pending_.end(), Xml_Blank)
                       && text_.substr(mark_, end - mark_).find('&') == std::string_view::npos;
    if (cursor_.type() == pugi::node_element && (!blank || (closing && !cursor_.first_child()))) {
        if (keep_breaks_)
            pending_ = As_It_Stands(std::move(pending_), mark_, end, Reading::Text);
        cursor_.append_child(pugi::node_pcdata).set_value(pending_.data(), pending_.size());
    }
    pending_.clear();
}

// XmlBreaks::Kept: what the parser reported, as it stands in text_[from, to) with only its
// references replaced. The parser reads every construct up to its end before it reports
// it; should the text found there not read as the reported one, the reported one stays.
std::string Tree_Builder::As_It_Stands(std::string value, size_t from, size_t to, Reading how) const
{
    if (from > to || to > text_.size())
        return value;
    const std::string_view span = text_.substr(from, to - from);
    if (span.find_first_of("\t\n\r") == std::string_view::npos || As_Read(span, how) != value)
        return value;
    std::string raw;
    if (how == Reading::Verbatim)
        raw = span;
    else
        Append_Decoded(raw, span);
    return raw;
}

// Where the markup being reported begins: element text holds no '<', so the first one
// after the last markup.
size_t Tree_Builder::Markup_Start() const
{
    const size_t lt = text_.find('<', mark_);
    return lt == std::string_view::npos ? text_.size() : lt;
}

// XmlBreaks::Kept: where the values of the start tag being reported stand in the text.
// The parser has read the tag up to its end, and no '<' stands inside a tag, so the tag
// begins at the last '<' before the parser. Nothing to recover (false) when no line break
// or tab stands in the tag.
bool Tree_Builder::Raw_Values(size_t count)
{
    const size_t end = Parser_Offset(ctxt_);
    if (!ctxt_->input->buf || ctxt_->input->buf->encoder || end > text_.size())
        return false;
    const size_t lt = text_.rfind('<', end == 0 ? 0 : end - 1);
    if (lt == std::string_view::npos)
        return false;
    const std::string_view tag = text_.substr(lt, end - lt);
    if (std::none_of(tag.begin(), tag.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }))
        return false;
    raw_.clear();
    size_t i = 1;
    while (i < tag.size() && !Xml_Blank(tag[i]) && tag[i] != '/' && tag[i] != '>')
        ++i; // the element's name
    for (i = Skip_Blanks(tag, i); i < tag.size() && tag[i] != '/' && tag[i] != '>'; i = Skip_Blanks(tag, i)) {
        const size_t eq = tag.find('=', i);
        if (eq == std::string_view::npos)
            return false;
        i = Skip_Blanks(tag, eq + 1);
        const size_t close = i < tag.size() ? tag.find(tag[i], i + 1) : std::string_view::npos;
        if (close == std::string_view::npos)
            return false;
        raw_.emplace_back(lt + i + 1, lt + close);
        i = close + 1;
    }
    return raw_.size() == count;
}

// The parser, not replacing entities, hands an '&' in an attribute value over as "&#38;";
// every '&' in a value it reports stands for one.
std::string Attribute_Value(const char* value)
{
    std::string v(value);
    for (size_t at = v.find("&#38;"); at != std::string::npos; at = v.find("&#38;", at + 1))
        v.replace(at, 5, 1, '&');
    return v;
}

// A new node in the current element, after the text before it; none while not building.
pugi::xml_node Tree_Builder::Append(pugi::xml_node_type type)
{
    if (!Building())
        return {};
    Place_Text(false);
    return cursor_.append_child(type);
}

void Tree_Builder::Start_Element(void* user, const xmlChar* name, const xmlChar** atts)
{
    Tree_Builder& b = Of(user);
    pugi::xml_node e = b.Append(pugi::node_element);
    if (!e)
        return;
    e.set_name(Str(name));
    if (atts) {
        size_t count = 0;
        while (atts[2 * count])
            ++count;
        const bool raw = b.keep_breaks_ && b.Raw_Values(count);
        for (size_t i = 0; i < count; ++i) {
            const char* value = Str(atts[2 * i + 1]);
            pugi::xml_attribute a = e.append_attribute(Str(atts[2 * i]));
            if (!raw && !std::strchr(value, '&')) {
                a.set_value(value);
                continue;
            }
            std::string v = Attribute_Value(value);
            if (raw)
                v = b.As_It_Stands(std::move(v), b.raw_[i].first, b.raw_[i].second, Reading::Attribute);
            a.set_value(v.data(), v.size());
        }
    }
    b.cursor_ = e;
    const size_t gt = b.text_.find('>', Parser_Offset(b.ctxt_));
    b.Markup_Ends(gt == std::string_view::npos ? gt : gt + 1);
}

void Tree_Builder::End_Element(void* user, const xmlChar*)
{
    Tree_Builder& b = Of(user);
    if (!b.Building())
        return;
    b.Place_Text(true);
    b.cursor_ = b.cursor_.parent();
    b.Markup_Ends(Parser_Offset(b.ctxt_));
}

void Tree_Builder::Characters(void* user, const xmlChar* ch, int len)
{
    Tree_Builder& b = Of(user);
    if (b.Building())
        b.pending_.append(Str(ch), size_t(len));
}

// A comment or CDATA section, whose text lies between an opening and a closing mark of
// the given lengths.
void Tree_Builder::Append_Marked(pugi::xml_node_type type, std::string value, size_t open, size_t close)
{
    pugi::xml_node n = Append(type);
    if (!n)
        return;
    const size_t end = Parser_Offset(ctxt_);
    if (keep_breaks_)
        value = As_It_Stands(std::move(value), Markup_Start() + open, end - close, Reading::Verbatim);
    Markup_Ends(end);
    n.set_value(value.data(), value.size());
}

void Tree_Builder::Comment(void* user, const xmlChar* value)
{
    Of(user).Append_Marked(pugi::node_comment, Str(value), 4, 3); // <!-- -->
}

void Tree_Builder::Processing_Instruction(void* user, const xmlChar* target, const xmlChar* data)
{
    Tree_Builder& b = Of(user);
    pugi::xml_node pi = b.Append(pugi::node_pi);
    if (!pi)
        return;
    pi.set_name(Str(target));
    std::string v = Str(data);
    const size_t end = Parser_Offset(b.ctxt_);
    if (b.keep_breaks_) {
        const size_t from = Skip_Blanks(b.text_, b.Markup_Start() + 2 + std::strlen(Str(target))); // <?target
        v = b.As_It_Stands(std::move(v), from, end - 2, Reading::Verbatim); // ?>
    }
    b.Markup_Ends(end);
    pi.set_value(v.data(), v.size());
}

void Tree_Builder::Cdata(void* user, const xmlChar* value, int len)
{
    Of(user).Append_Marked(pugi::node_cdata, std::string(Str(value), size_t(len)), 9, 3); // <![CDATA[ ]]>
}

bool Tree_Builder::Run()
{
    static const bool initialised = (xmlInitParser(), true);
    (void)initialised;
    if (text_.empty()) {
        Fail(1, 1, QStringLiteral("Document is empty"));
        return false;
    }
    if (text_.size() > size_t(INT_MAX)) {
        Fail(1, 1, QStringLiteral("The file is too large."));
        return false;
    }
    ctxt_ = xmlCreateMemoryParserCtxt(text_.data(), int(text_.size()));
    if (!ctxt_) {
        Fail(1, 1, QStringLiteral("Out of memory."));
        return false;
    }
    // The parser's own copy of the handler: only what builds the tree or refuses a file.
    // Without handlers that load external subsets or entities nothing is ever read from
    // another file or the network; no entity can be declared, so none is expanded. It is a
    // handler of the first version: start tags come with their attributes in document
    // order and their names as written (XML 1.0 itself, without the namespace layer's
    // further rules), errors through the error and warning callbacks.
    xmlSAXHandler& sax = *ctxt_->sax;
    sax = xmlSAXHandler{};
    sax.initialized = 1;
    sax.startElement = Start_Element;
    sax.endElement = End_Element;
    sax.characters = Characters;
    sax.ignorableWhitespace = Characters;
    sax.comment = Comment;
    sax.processingInstruction = Processing_Instruction;
    sax.cdataBlock = Cdata;
    sax.internalSubset = Document_Type;
    sax.externalSubset = Document_Type_End; // no subset is loaded
    sax.entityDecl = Entity_Declaration;
    sax.unparsedEntityDecl = Unparsed_Entity_Declaration;
    sax.attributeDecl = Attribute_Declaration;
    sax.warning = Error;
    sax.error = Error;
    sax.fatalError = Error;
    ctxt_->userData = this;
    Markup_Ends(Declaration_End(text_));
    xmlCtxtUseOptions(ctxt_, XML_PARSE_NONET | XML_PARSE_IGNORE_ENC);
    // The text is UTF-8 already: the parser neither guesses another encoding from its first
    // bytes nor passes over a byte-order mark (one was taken off before; a second one is
    // no part of XML).
    xmlFree(const_cast<xmlChar*>(ctxt_->encoding));
    ctxt_->encoding = xmlStrdup(BAD_CAST "UTF-8");
    xmlParseDocument(ctxt_);
    if (!failed_ && !ctxt_->wellFormed)
        Fail(1, 1, QStringLiteral("The document is not well-formed."));
    xmlFreeParserCtxt(ctxt_);
    ctxt_ = nullptr;
    return !failed_;
}

} // namespace

XmlLoad Load_Xml_Bytes(const QByteArray& bytes, const QString& file, pugi::xml_document& doc,
                       XmlError* error, XmlBreaks breaks)
{
    doc.reset();
    const Parser_Text text = Text_For_Parser(bytes);
    XmlError e{file, 1, 1, QStringLiteral("Encoding %1 is not supported.").arg(text.unsupported)};
    if (text.unsupported.isEmpty()) {
        Tree_Builder b(text, breaks, doc);
        if (b.Run())
            return XmlLoad::Loaded;
        e = XmlError{file, b.line, b.column, b.reason};
    }
    doc.reset();
    if (error)
        *error = e;
    return XmlLoad::Failed;
}

XmlLoad Load_Xml_File(const QString& path, pugi::xml_document& doc, XmlError* error,
                      XmlBreaks breaks)
{
    doc.reset();
    QFile f(path);
    if (!f.exists())
        return XmlLoad::Missing;
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = XmlError{path, 0, 0, f.errorString()};
        return XmlLoad::Failed;
    }
    return Load_Xml_Bytes(f.readAll(), path, doc, error, breaks);
}

} // namespace swr
