#pragma once

#include "project/ProjectFile.h"
#include "project/mqtt/MqttTopics.h"
#include "project/nmea/NmeaAccess.h"
#include "project/pargen/ParGen.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace swr {

class Texts;

// ${name} in a template's text stands for a device's value of the variable name; $${
// writes the characters ${ themselves. Anything else, $VALUE$ of a payload template
// included, stays as it is.

// The value of a variable, or nullptr when there is none of that name.
using Variable_Lookup = std::function<const QString*(QStringView name)>;

enum class Substitution_Fault { None, Unknown_Variable, Unclosed };

struct Substitution {
    QString text;
    Substitution_Fault fault = Substitution_Fault::None;
    QString variable; // the unknown one
};

Substitution Substitute(const QString& text, const Variable_Lookup& lookup);

// The variables text refers to, in order, each once.
QStringList Variables_In(const QString& text);

// The three project files of a template configuration, as its editors load them.
struct Fleet_Template {
    ParGen par = ParGen_Defaults();
    NMEA_Listener_Table nmea;
    MQTT_Topic_Table mqtt;
};

// Loads the three files of folder. A file that cannot be loaded, or whose rows would not
// all be kept, gives the message.
FileResult Load_Fleet_Template(const Texts& texts, const QString& folder, Fleet_Template* out);

// The template with ${...} replaced in every ParGen value, in the publish rules' Topic,
// Template and Mnemonic and in the listener rows' Mnemonic. On failure the message names
// the file, the key or row and column, and the variable.
FileResult Substitute_Template(const Texts& texts, const Fleet_Template& t, const Variable_Lookup& lookup,
                               Fleet_Template* out);

} // namespace swr
