#pragma once

// The offline check of the TLS texts of a configuration: the server certificate, the
// client certificate, its key and the key's password. It only reads the texts; a problem
// it finds is a warning and never stops the texts from being saved as typed.

#include "broker/BrokerLibraries.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <vector>

namespace swr {

struct ParGen;

enum class CertFormat : unsigned char {
    Empty,           // nothing typed
    Pem,             // one certificate between its BEGIN/END lines
    Pem_Chain,       // several certificates
    Der,             // DER, or the base64 of a PEM without its header lines
    Not_Certificate, // none of these
    Unchecked,       // libcrypto cannot be loaded
};

struct CertInfo {
    QString subject; // RFC 2253, "CN=broker.example,O=Example"
    QString issuer;
    QDateTime not_before; // UTC
    QDateTime not_after;
    bool expired = false;
    bool not_yet_valid = false;
};

struct CertCheck {
    CertFormat format = CertFormat::Empty;
    std::vector<CertInfo> certs; // in the order of the text
    LibraryFault missing;        // when Unchecked
    bool Problem() const;        // not a certificate, unchecked, or one of them out of its validity
};

enum class KeyState : unsigned char {
    Empty,
    Not_Key,
    Plain,          // not encrypted
    Opened,         // encrypted, and the password given opens it
    Wrong_Password, // encrypted, and the password given does not open it
    Unchecked,      // libcrypto cannot be loaded
};

struct KeyCheck {
    KeyState state = KeyState::Empty;
    bool headerless = false; // DER or base64 without the PEM lines
    // Whether the key belongs to the first client certificate; only known when both
    // were read.
    bool match_known = false;
    bool matches = false;
    LibraryFault missing; // when Unchecked
    bool Problem() const;
};

// Reads a certificate field as typed: PEM (one or several), base64 without its header
// lines, or raw DER bytes held as Latin-1 characters.
CertCheck Check_Certificate_Text(const QString& text, const QDateTime& now = QDateTime::currentDateTimeUtc());
// Reads the client key with its password and compares it with the client certificate.
KeyCheck Check_Key_Text(const QString& key, const QString& password, const QString& cert);

// The one-line summaries shown under each field, taken from the string table lang.
QString Cert_Summary(const QStringList& lang, const CertCheck& c);
QString Key_Summary(const QStringList& lang, const KeyCheck& k);

// The TLS fields of m, one line each ("Server Certificate: ..."): the server certificate,
// the client certificate and the client key; problems() tells whether any line warns.
struct TlsFieldsCheck {
    CertCheck server;
    CertCheck client;
    KeyCheck key;
    QStringList Lines(const QStringList& lang) const;
    bool Problem() const { return server.Problem() || client.Problem() || key.Problem(); }
};
TlsFieldsCheck Check_Tls_Fields(const ParGen& m);

} // namespace swr
