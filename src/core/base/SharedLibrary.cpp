#include "base/SharedLibrary.h"

#include <dlfcn.h>

namespace swr {

namespace {

QString Loader_Error()
{
    const char* e = dlerror();
    return e ? QString::fromLocal8Bit(e) : QString();
}

} // namespace

bool SharedLibrary::Open()
{
    std::call_once(once_, [this] {
        // Bound in full at once, so that a missing function shows here and not at a call;
        // local, so that its names never stand in for another library's.
        handle_ = dlopen(soname_.constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_)
            error_ = Loader_Error();
    });
    return handle_ != nullptr;
}

void* SharedLibrary::Symbol(const char* name, QString* error)
{
    if (!Open()) {
        if (error)
            *error = error_;
        return nullptr;
    }
    dlerror();
    void* address = dlsym(handle_, name);
    if (!address && error)
        *error = Loader_Error();
    return address;
}

} // namespace swr
