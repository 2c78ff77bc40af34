#include "broker/CertCheck.h"

#include "broker/LibraryTables.h"
#include "broker/TlsMaterial.h"
#include "lang/Texts.h"
#include "project/pargen/ParGen.h"

namespace swr {

namespace {

QString Name_Text(const X509_NAME* name)
{
    const CryptoTable& c = Crypto();
    BIO* bio = c.BIO_new(c.BIO_s_mem());
    c.X509_NAME_print_ex(bio, name, 0, XN_FLAG_RFC2253 & ~ASN1_STRFLGS_ESC_MSB);
    char* data = nullptr;
    const long n = c.BIO_ctrl(bio, BIO_CTRL_INFO, 0, reinterpret_cast<char*>(&data)); // BIO_get_mem_data
    QString text = QString::fromUtf8(data, n);
    c.BIO_free(bio);
    return text;
}

QDateTime Time_Of(const ASN1_TIME* t)
{
    tm parts{};
    if (!Crypto().ASN1_TIME_to_tm(t, &parts))
        return {};
    return QDateTime(QDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday),
                     QTime(parts.tm_hour, parts.tm_min, parts.tm_sec), Qt::UTC);
}

QString Day(const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd")); }

QString Not_Checked(const QStringList& lang, const LibraryFault& missing)
{
    return lang.value(Txt::Cert_Not_Checked).arg(Library_Fault_Text(lang, missing));
}

} // namespace

bool CertCheck::Problem() const
{
    if (format == CertFormat::Not_Certificate || format == CertFormat::Unchecked)
        return true;
    for (const CertInfo& c : certs)
        if (c.expired || c.not_yet_valid)
            return true;
    return false;
}

bool KeyCheck::Problem() const
{
    return state == KeyState::Not_Key || state == KeyState::Wrong_Password || state == KeyState::Unchecked
        || (match_known && !matches);
}

CertCheck Check_Certificate_Text(const QString& text, const QDateTime& now)
{
    CertCheck r;
    if (text.trimmed().isEmpty())
        return r;
    r.missing = Tls_Library_Fault();
    if (r.missing) {
        r.format = CertFormat::Unchecked;
        return r;
    }
    bool headerless = false;
    const std::vector<X509_ptr> certs = Read_Certificates(text, &headerless);
    if (certs.empty()) {
        r.format = CertFormat::Not_Certificate;
        return r;
    }
    r.format = headerless ? CertFormat::Der : certs.size() > 1 ? CertFormat::Pem_Chain : CertFormat::Pem;
    const CryptoTable& crypto = Crypto();
    for (const X509_ptr& x : certs) {
        CertInfo c;
        c.subject = Name_Text(crypto.X509_get_subject_name(x.get()));
        c.issuer = Name_Text(crypto.X509_get_issuer_name(x.get()));
        c.not_before = Time_Of(crypto.X509_get0_notBefore(x.get()));
        c.not_after = Time_Of(crypto.X509_get0_notAfter(x.get()));
        c.expired = c.not_after.isValid() && c.not_after < now;
        c.not_yet_valid = c.not_before.isValid() && c.not_before > now;
        r.certs.push_back(c);
    }
    return r;
}

KeyCheck Check_Key_Text(const QString& key, const QString& password, const QString& cert)
{
    KeyCheck r;
    if (key.trimmed().isEmpty())
        return r;
    r.missing = Tls_Library_Fault();
    if (r.missing) {
        r.state = KeyState::Unchecked;
        return r;
    }
    const KeyRead k = Read_Private_Key(key, password);
    r.headerless = k.headerless;
    if (!k.key) {
        r.state = k.encrypted ? KeyState::Wrong_Password : KeyState::Not_Key;
        return r;
    }
    r.state = k.encrypted ? KeyState::Opened : KeyState::Plain;
    const std::vector<X509_ptr> certs = Read_Certificates(cert, nullptr);
    if (!certs.empty()) {
        r.match_known = true;
        r.matches = Crypto().X509_check_private_key(certs.front().get(), k.key.get()) == 1;
    }
    return r;
}

QString Cert_Summary(const QStringList& lang, const CertCheck& c)
{
    auto text = [&lang](int i) { return lang.value(i); };
    if (c.format == CertFormat::Empty)
        return {};
    if (c.format == CertFormat::Not_Certificate)
        return text(Txt::Cert_Not_Certificate);
    if (c.format == CertFormat::Unchecked)
        return Not_Checked(lang, c.missing);
    // A certificate out of its validity is what the line must say first.
    for (const CertInfo& i : c.certs) {
        if (i.expired)
            return text(Txt::Cert_Expired).arg(Day(i.not_after), i.subject);
        if (i.not_yet_valid)
            return text(Txt::Cert_Not_Yet_Valid).arg(Day(i.not_before), i.subject);
    }
    const CertInfo& first = c.certs.front();
    QString line = c.certs.size() > 1
        ? text(Txt::Cert_Chain).arg(QString::number(c.certs.size()), first.subject, Day(first.not_after))
        : text(Txt::Cert_One).arg(first.subject, first.issuer, Day(first.not_before), Day(first.not_after));
    if (c.format == CertFormat::Der)
        line += text(Txt::Cert_Headerless);
    return line;
}

QString Key_Summary(const QStringList& lang, const KeyCheck& k)
{
    auto text = [&lang](int i) { return lang.value(i); };
    QString line;
    switch (k.state) {
    case KeyState::Empty: return {};
    case KeyState::Not_Key: return text(Txt::Key_Not_Key);
    case KeyState::Plain: line = text(Txt::Key_Plain); break;
    case KeyState::Opened: line = text(Txt::Key_Opened); break;
    case KeyState::Wrong_Password: return text(Txt::Key_Wrong_Password);
    case KeyState::Unchecked: return Not_Checked(lang, k.missing);
    }
    if (k.headerless)
        line += text(Txt::Cert_Headerless);
    if (k.match_known)
        line += text(k.matches ? Txt::Key_Matches : Txt::Key_Mismatch);
    return line;
}

TlsFieldsCheck Check_Tls_Fields(const ParGen& m)
{
    TlsFieldsCheck r;
    r.server = Check_Certificate_Text(m.Text(ParKey::TLS_Server_Auth_Certificate));
    r.client = Check_Certificate_Text(m.Text(ParKey::TLS_Client_Auth_Certificate));
    r.key = Check_Key_Text(m.Text(ParKey::TLS_Client_Auth_Key), m.Text(ParKey::TLS_Client_Auth_Key_Password),
                           m.Text(ParKey::TLS_Client_Auth_Certificate));
    return r;
}

QStringList TlsFieldsCheck::Lines(const QStringList& lang) const
{
    // Each line starts with the caption of its field on the screen.
    auto line = [&lang](int label, const QString& summary) {
        return lang.value(label).trimmed() + QStringLiteral(": ") + summary;
    };
    QStringList out;
    const QString s = Cert_Summary(lang, server), c = Cert_Summary(lang, client), k = Key_Summary(lang, key);
    if (!s.isEmpty())
        out << line(1105, s);
    if (!c.isEmpty())
        out << line(1109, c);
    if (!k.isEmpty())
        out << line(1111, k);
    return out;
}

} // namespace swr
