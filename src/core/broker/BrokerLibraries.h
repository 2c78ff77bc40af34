#pragma once

// The libraries of the broker floor (libcrypto, libssl, libmosquitto) are opened when the
// first broker test, live monitor or certificate check runs, not at start. Each entry point
// asks here first and reports a library that cannot be used as a failure of its own.

#include <QString>
#include <QStringList>

namespace swr {

enum class BrokerLibrary : unsigned char { Crypto, Ssl, Mosquitto };

// Why a library cannot be used: its name for the loader and the loader's reason (it cannot
// be opened, or it lacks a function this program calls). Empty when it can.
struct LibraryFault {
    BrokerLibrary which = BrokerLibrary::Crypto;
    QString library;
    QString reason;
    explicit operator bool() const { return !library.isEmpty(); }
};

// libcrypto, which reads certificates and keys.
LibraryFault Tls_Library_Fault();
// The first of libcrypto, libssl and libmosquitto that cannot be used: the broker test and
// the monitor need all three.
LibraryFault Broker_Library_Fault();

// "the library libssl.so.3 cannot be loaded: ...", from the string table lang.
QString Library_Fault_Text(const QStringList& lang, const LibraryFault& f);

// Tests only: which opens soname in place of its own library, when called before the
// library's first use in the process.
void Replace_Library_Soname(BrokerLibrary which, const char* soname);

} // namespace swr
