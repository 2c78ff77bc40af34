#include "fleet/Secrets.h"

#include "fleet/Substitution.h"

#include <algorithm>

namespace swr {

bool Is_Secret_Key(ParKey k)
{
    return k == ParKey::MQTT_Password || k == ParKey::TLS_Client_Auth_Key || k == ParKey::TLS_Client_Auth_Key_Password;
}

QStringList Secret_Values(const ParGen& m)
{
    QStringList values;
    for (const ParKeyInfo& k : Par_Keys())
        if (Is_Secret_Key(k.key) && !m.Text(k.key).isEmpty())
            values.append(m.Text(k.key));
    return values;
}

QStringList Secret_Variables(const Fleet_Template& t)
{
    QStringList names;
    for (const ParKeyInfo& k : Par_Keys())
        if (Is_Secret_Key(k.key))
            for (const QString& v : Variables_In(t.par.Text(k.key)))
                if (!names.contains(v, Qt::CaseInsensitive))
                    names.append(v);
    return names;
}

Secret_Mask::Secret_Mask(QStringList secrets) : secrets_(std::move(secrets))
{
    secrets_.removeAll(QString());
    secrets_.removeDuplicates();
    std::sort(secrets_.begin(), secrets_.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
}

QString Secret_Mask::Apply(QString text) const
{
    for (const QString& s : secrets_)
        text.replace(s, QLatin1String(Mask));
    return text;
}

} // namespace swr
