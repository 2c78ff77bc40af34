#include "fleet/FleetScreen.h"

#include "base/Files.h"
#include "fleet/Secrets.h"
#include "lang/LangTable.h"
#include "lang/Texts.h"

#include <QDir>
#include <QFileInfo>

namespace swr {

Fleet_Table Fleet_Devices_Table(const Texts& texts, const Fleet_Devices& devices,
                                const QStringList& secret_variables, const Fleet_Report& report)
{
    const int name = devices.Column(QLatin1String(Device_Name_Column));
    const int ip = devices.Column(QLatin1String(Device_Address_Column));
    QList<int> variables;
    QList<bool> secret;
    for (int c = 0; c < int(devices.columns.size()); ++c)
        if (c != name && c != ip) {
            variables.append(c);
            secret.append(secret_variables.contains(devices.columns.at(c), Qt::CaseInsensitive));
        }
    Fleet_Table t;
    t.header << texts.Get_Lang_Text(Txt::Fleet_Columns) << texts.Get_Lang_Text(Txt::Fleet_Columns + 1);
    for (int c : std::as_const(variables))
        t.header << devices.columns.at(c);
    t.header << texts.Get_Lang_Text(Txt::Fleet_Columns + 2);
    for (int i = 0; i < int(devices.devices.size()); ++i) {
        const QStringList& values = devices.devices.at(i).values;
        QStringList row{values.at(name), values.at(ip)};
        for (int k = 0; k < int(variables.size()); ++k)
            row << (secret.at(k) && !values.at(variables.at(k)).isEmpty() ? QLatin1String(Secret_Mask::Mask)
                                                                          : values.at(variables.at(k)));
        QString state;
        for (const Device_Record& d : report.devices)
            if (d.name == values.at(name) && d.ip == values.at(ip))
                state = Device_State_Text(texts, d);
        row << state;
        t.rows.append(row);
    }
    return t;
}

QString Fleet_Step_Text(const Texts& texts, int position, int count, const QString& device, Fleet_Step step)
{
    return texts.Get_Lang_Text(Txt::Fleet_Step_Line)
        .arg(position)
        .arg(count)
        .arg(device, texts.Get_Lang_Text(Txt::Fleet_Steps + int(step)));
}

int Existing_Configurations(const QString& template_dir, const Fleet_Devices& devices)
{
    const QString projects = QFileInfo(QDir::cleanPath(template_dir)).absolutePath();
    int existing = 0;
    for (int i = 0; i < int(devices.devices.size()); ++i) {
        const QString name = devices.Name(i);
        existing += !name.isEmpty() && QFileInfo(Join_Path(projects, name)).isDir() ? 1 : 0;
    }
    return existing;
}

} // namespace swr
