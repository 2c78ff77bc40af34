#include "broker/TlsMaterial.h"

#include "broker/LibraryTables.h"

#include <QByteArray>
#include <QRegularExpression>

namespace swr {

void X509_Free::operator()(X509* x) const { Crypto().X509_free(x); }
void EVP_PKEY_Free::operator()(EVP_PKEY* k) const { Crypto().EVP_PKEY_free(k); }
void SSL_CTX_Free::operator()(SSL_CTX* c) const { Ssl().SSL_CTX_free(c); }

namespace {

struct BIO_Free { void operator()(BIO* b) const { Crypto().BIO_free(b); } };
using BIO_ptr = std::unique_ptr<BIO, BIO_Free>;

BIO_ptr Memory(const QByteArray& bytes)
{
    return BIO_ptr(Crypto().BIO_new_mem_buf(bytes.constData(), int(bytes.size())));
}

// The bytes a field without PEM lines stands for: its base64 when it is nothing else,
// otherwise the characters themselves (raw DER).
QByteArray Headerless_Bytes(const QString& text)
{
    QByteArray compact = text.toLatin1();
    compact.replace(QByteArrayView("\r"), QByteArrayView()).replace('\n', QByteArray()).replace(' ', QByteArray());
    static const QRegularExpression base64(QStringLiteral("^[A-Za-z0-9+/]+={0,2}$"));
    if (base64.match(QString::fromLatin1(compact)).hasMatch()) {
        const auto decoded = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
        if (decoded)
            return *decoded;
    }
    return text.toLatin1();
}

int Password_Callback(char* buf, int size, int, void* user)
{
    const QByteArray& pw = *static_cast<const QByteArray*>(user);
    const int n = int(std::min<qsizetype>(pw.size(), size));
    std::copy_n(pw.constData(), n, buf);
    return n;
}

} // namespace

std::vector<X509_ptr> Read_Certificates(const QString& text, bool* headerless)
{
    std::vector<X509_ptr> out;
    if (headerless)
        *headerless = false;
    const CryptoTable& c = Crypto();
    if (!c.Loaded())
        return out;
    const QByteArray utf8 = text.toUtf8();
    if (utf8.contains("-----BEGIN")) {
        BIO_ptr bio = Memory(utf8);
        while (X509* x = c.PEM_read_bio_X509(bio.get(), nullptr, nullptr, nullptr))
            out.emplace_back(x);
        c.ERR_clear_error();
        return out;
    }
    const QByteArray der = Headerless_Bytes(text);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(der.constData());
    if (X509* x = c.d2i_X509(nullptr, &p, long(der.size()))) {
        out.emplace_back(x);
        if (headerless)
            *headerless = true;
    }
    c.ERR_clear_error();
    return out;
}

KeyRead Read_Private_Key(const QString& text, const QString& password)
{
    KeyRead r;
    const CryptoTable& c = Crypto();
    if (!c.Loaded())
        return r;
    QByteArray pw = password.toUtf8();
    const QByteArray utf8 = text.toUtf8();
    if (utf8.contains("-----BEGIN")) {
        // "BEGIN ENCRYPTED PRIVATE KEY" (PKCS#8) or "Proc-Type: 4,ENCRYPTED" (traditional).
        r.encrypted = utf8.contains("ENCRYPTED");
        BIO_ptr bio = Memory(utf8);
        r.key.reset(c.PEM_read_bio_PrivateKey(bio.get(), nullptr, Password_Callback, &pw));
    } else {
        r.headerless = true;
        const QByteArray der = Headerless_Bytes(text);
        const unsigned char* p = reinterpret_cast<const unsigned char*>(der.constData());
        r.key.reset(c.d2i_AutoPrivateKey(nullptr, &p, long(der.size())));
        if (!r.key) {
            BIO_ptr bio = Memory(der);
            X509_SIG* sig = c.d2i_PKCS8_bio(bio.get(), nullptr);
            if (sig) {
                r.encrypted = true;
                PKCS8_PRIV_KEY_INFO* info = c.PKCS8_decrypt(sig, pw.constData(), int(pw.size()));
                if (info) {
                    r.key.reset(c.EVP_PKCS82PKEY(info));
                    c.PKCS8_PRIV_KEY_INFO_free(info);
                }
                c.X509_SIG_free(sig);
            }
        }
    }
    c.ERR_clear_error();
    // Wipe the copy of the password.
    pw.fill('\0');
    return r;
}

} // namespace swr
