#pragma once

// The TLS texts of a configuration read into OpenSSL objects, in memory only: nothing of
// the certificates or the key is ever written to a file. The readers find nothing while
// libcrypto cannot be loaded; their callers ask Tls_Library_Fault first and say why.

#include <QString>

#include <openssl/types.h>

#include <memory>
#include <vector>

namespace swr {

struct X509_Free { void operator()(X509* x) const; };
struct EVP_PKEY_Free { void operator()(EVP_PKEY* k) const; };
struct SSL_CTX_Free { void operator()(SSL_CTX* c) const; };
using X509_ptr = std::unique_ptr<X509, X509_Free>;
using EVP_PKEY_ptr = std::unique_ptr<EVP_PKEY, EVP_PKEY_Free>;
using SSL_CTX_ptr = std::unique_ptr<SSL_CTX, SSL_CTX_Free>;

// The certificates of a field as typed: PEM blocks, else the base64 of one DER certificate
// without its header lines, else raw DER bytes held as Latin-1. headerless (when given)
// tells the last two.
std::vector<X509_ptr> Read_Certificates(const QString& text, bool* headerless);

struct KeyRead {
    EVP_PKEY_ptr key;        // null when the text is no key or the password does not open it
    bool encrypted = false;  // the key needs a password
    bool headerless = false;
};
KeyRead Read_Private_Key(const QString& text, const QString& password);

} // namespace swr
