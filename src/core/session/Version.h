#pragma once

#include <QString>

namespace swr {

// "1.002" -> 1002: characters 1, 3, 4 and 5 of what follows the first blank; -1 when
// the text gives no number.
int Conv_Version(const QString& Ver_str);

// The answer to --version: the executable's name and Program_Version ("swr2305 1.002").
QString Version_Line(const QString& program);

// Whether the version server's answer names a newer version than Program_Version.
bool Is_Newer_Version(const QString& answer);

// Asks whether a newer version of the configurator exists. Its callers look at the
// internet switches; the check itself does not.
class IVersionCheck {
public:
    virtual ~IVersionCheck() = default;
    virtual bool Check_Version() = 0;
};

// A check that never finds a newer version, for runs without the network.
class NoVersionCheck final : public IVersionCheck {
public:
    bool Check_Version() override { return false; }
};

} // namespace swr
