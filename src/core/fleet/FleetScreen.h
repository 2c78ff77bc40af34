#pragma once

// What the fleet window shows, without its widgets: the devices table with each device's
// variables and state, and the line of the step under way.

#include "fleet/Devices.h"
#include "fleet/Report.h"
#include "fleet/Update.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace swr {

class Texts;

struct Fleet_Table {
    QStringList header;     // name, address, the other variables, state
    QList<QStringList> rows; // one per device of the devices file
};

// The devices with their variables, those in secret_variables masked, and the state the
// report gives each (a device it does not list as it is in the file has none).
Fleet_Table Fleet_Devices_Table(const Texts& texts, const Fleet_Devices& devices,
                                const QStringList& secret_variables, const Fleet_Report& report);

// "Device 2 of 3 (ship-b): checking that it answers".
QString Fleet_Step_Text(const Texts& texts, int position, int count, const QString& device, Fleet_Step step);

// How many devices of the file already have a configuration folder beside the template.
int Existing_Configurations(const QString& template_dir, const Fleet_Devices& devices);

} // namespace swr
