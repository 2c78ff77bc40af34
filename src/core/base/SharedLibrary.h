#pragma once

// A system library opened when first needed rather than linked: the program starts without
// loading it, and a machine without it still runs everything that does not use it.

#include <QByteArray>
#include <QString>

#include <mutex>

namespace swr {

class SharedLibrary {
public:
    // soname: the name the dynamic loader knows the library by ("libz.so.1").
    explicit SharedLibrary(QByteArray soname) : soname_(std::move(soname)) {}
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // Opens the library on the first call, from whichever thread; later calls only answer.
    // It stays open for the rest of the process.
    bool Open();
    // The loader's reason when Open failed.
    QString Error() const { return error_; }
    const QByteArray& Soname() const { return soname_; }

    // The address of the symbol name in the open library; null with the loader's reason in
    // error (when given) when the library is not open or lacks the symbol.
    void* Symbol(const char* name, QString* error = nullptr);

private:
    QByteArray soname_;
    std::once_flag once_;
    void* handle_ = nullptr;
    QString error_;
};

} // namespace swr
