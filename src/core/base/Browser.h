#pragma once

#include <QString>

namespace swr {

// Opens a web address in the user's browser. The program hands it to the desktop; tests
// record the address.
class IBrowser {
public:
    virtual ~IBrowser() = default;
    virtual void Open_Url(const QString& url) = 0;
};

} // namespace swr
