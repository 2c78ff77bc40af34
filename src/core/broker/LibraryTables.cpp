#include "broker/LibraryTables.h"

#include "base/SharedLibrary.h"
#include "lang/Texts.h"

#include <atomic>
#include <iterator>
#include <type_traits>

namespace swr {

namespace {

// The sonames of the libraries the build was made against, found at configure time.
const char* const Build_Sonames[] = {SWR_CRYPTO_SONAME, SWR_SSL_SONAME, SWR_MOSQUITTO_SONAME};
std::atomic<const char*> Replaced_Sonames[std::size(Build_Sonames)];

const char* Soname_Of(BrokerLibrary which)
{
    const char* replaced = Replaced_Sonames[size_t(which)].load();
    return replaced ? replaced : Build_Sonames[size_t(which)];
}

// Opens the library and looks up every function of the table; the first one missing (or
// the library itself) is the table's fault.
template <class Table>
Table Load(BrokerLibrary which)
{
    static SharedLibrary library{QByteArray(Soname_Of(which))};
    Table t;
    t.Each([&](auto& function, const char* name) {
        if (t.fault)
            return;
        QString reason;
        void* address = library.Symbol(name, &reason);
        if (!address)
            t.fault = {which, QString::fromLatin1(library.Soname()), reason};
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(address);
    });
    return t;
}

} // namespace

const CryptoTable& Crypto()
{
    static const CryptoTable t = Load<CryptoTable>(BrokerLibrary::Crypto);
    return t;
}

const SslTable& Ssl()
{
    static const SslTable t = Load<SslTable>(BrokerLibrary::Ssl);
    return t;
}

const MosquittoTable& Mosq()
{
    static const MosquittoTable t = Load<MosquittoTable>(BrokerLibrary::Mosquitto);
    return t;
}

LibraryFault Tls_Library_Fault() { return Crypto().fault; }

LibraryFault Broker_Library_Fault()
{
    // In the order they stand on each other: libssl needs libcrypto, libmosquitto both.
    for (const LibraryFault* f : {&Crypto().fault, &Ssl().fault, &Mosq().fault})
        if (*f)
            return *f;
    return {};
}

QString Library_Fault_Text(const QStringList& lang, const LibraryFault& f)
{
    return lang.value(Txt::Library_Not_Loaded).arg(f.library, f.reason);
}

void Replace_Library_Soname(BrokerLibrary which, const char* soname) { Replaced_Sonames[size_t(which)] = soname; }

} // namespace swr
