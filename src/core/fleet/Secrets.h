#pragma once

#include "project/pargen/ParGen.h"

#include <QString>
#include <QStringList>

namespace swr {

struct Fleet_Template;

// The ParGen keys whose values are secret: the MQTT password, the client key and its
// password. What they hold goes into ParGen.xml and the banks only: never into a report,
// a message or a table on screen.
bool Is_Secret_Key(ParKey k);

// The values of the secret keys that are not empty.
QStringList Secret_Values(const ParGen& m);

// The variables the template's secret values refer to, as written there.
QStringList Secret_Variables(const Fleet_Template& t);

// Hides the secret values in a value a message quotes (a client ID, a topic).
class Secret_Mask {
public:
    explicit Secret_Mask(QStringList secrets);
    QString Apply(QString text) const;

    static constexpr const char* Mask = "******";

private:
    QStringList secrets_; // the longest first, so that none is left half hidden
};

} // namespace swr
