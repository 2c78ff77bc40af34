#pragma once

#include "app/DataArea.h"
#include "project/ProjectFile.h"

#include <QList>
#include <QString>

#include <array>
#include <string_view>

namespace swr {

struct AppState;

inline constexpr int MQTT_Table_Rows = 1024; // rows of each table (grid rows 1..1024)

// One publish rule; every field is the text of its cell, as typed or as read.
struct MQTT_Publish_Row {
    QString Topic, Retained, QoS, DataType, Dimension, Position, IPAddress, InputTemplate,
        Template, OnChange, OnTimer, Time, Mnemonic;
    bool operator==(const MQTT_Publish_Row&) const = default;
};

// One subscribe rule. The file format carries them; this product shows none and never
// saves them, but a file's rows are loaded and checked.
struct MQTT_Subscribe_Row {
    QString Topic, Retained, QoS, DataType, Dimension, Position, IPAddress, Port, EthType,
        InputTemplate, Template, Mnemonic;
    bool operator==(const MQTT_Subscribe_Row&) const = default;
};

// A column of a table: its attribute in the file and the row field it fills. A row
// missing a required attribute cannot be loaded; a missing optional one gives absent.
template <class Row>
struct MQTT_Column {
    const char* name;
    QString Row::*field;
    bool required = false;
    const char* absent = "";
};

// Attribute and grid order alike: grid column c (from 1) is entry c - 1.
inline constexpr std::array<MQTT_Column<MQTT_Publish_Row>, 13> Publish_Columns{{
    {"Topic", &MQTT_Publish_Row::Topic, true},
    {"Retained", &MQTT_Publish_Row::Retained, true},
    {"QoS", &MQTT_Publish_Row::QoS, true},
    {"DataType", &MQTT_Publish_Row::DataType},
    {"Dimension", &MQTT_Publish_Row::Dimension},
    {"Position", &MQTT_Publish_Row::Position},
    {"IPAddress", &MQTT_Publish_Row::IPAddress},
    {"InputTemplate", &MQTT_Publish_Row::InputTemplate},
    {"Template", &MQTT_Publish_Row::Template},
    {"OnChange", &MQTT_Publish_Row::OnChange, false, "N"},
    {"OnTimer", &MQTT_Publish_Row::OnTimer, false, "N"},
    {"Time", &MQTT_Publish_Row::Time},
    {"Mnemonic", &MQTT_Publish_Row::Mnemonic, true},
}};

inline constexpr std::array<MQTT_Column<MQTT_Subscribe_Row>, 12> Subscribe_Columns{{
    {"Topic", &MQTT_Subscribe_Row::Topic, true},
    {"Retained", &MQTT_Subscribe_Row::Retained, true},
    {"QoS", &MQTT_Subscribe_Row::QoS, true},
    {"DataType", &MQTT_Subscribe_Row::DataType},
    {"Dimension", &MQTT_Subscribe_Row::Dimension},
    {"Position", &MQTT_Subscribe_Row::Position},
    {"IPAddress", &MQTT_Subscribe_Row::IPAddress},
    {"Port", &MQTT_Subscribe_Row::Port},
    {"EthType", &MQTT_Subscribe_Row::EthType},
    {"InputTemplate", &MQTT_Subscribe_Row::InputTemplate},
    {"Template", &MQTT_Subscribe_Row::Template},
    {"Mnemonic", &MQTT_Subscribe_Row::Mnemonic, true},
}};

// The grid column (from 1) of an attribute.
template <class Row, size_t N>
constexpr int Grid_Column(const std::array<MQTT_Column<Row>, N>& columns, std::string_view name)
{
    for (size_t i = 0; i < N; ++i)
        if (name == columns[i].name)
            return int(i) + 1;
    return -1;
}

// The grid column holding the template, where a double click opens the template editor.
inline constexpr int Pub_Template_Col = Grid_Column(Publish_Columns, "Template");
inline constexpr int Sub_Template_Col = Grid_Column(Subscribe_Columns, "Template");
static_assert(Pub_Template_Col == 9 && Sub_Template_Col == 11);

// The topic screen's tables: always MQTT_Table_Rows rows each, table order; a row whose
// Topic is blank ends the table for the check and the save.
struct MQTT_Topic_Table {
    QList<MQTT_Publish_Row> Pub = QList<MQTT_Publish_Row>(MQTT_Table_Rows);
    QList<MQTT_Subscribe_Row> Sub = QList<MQTT_Subscribe_Row>(MQTT_Table_Rows);
    int Byte_IN = Data_Area_Size;  // bound of a publish Position
    int Byte_OUT = Data_Area_Size; // bound of a subscribe Position
};

// Empties both tables and fills them from the file at path. A missing file leaves them
// empty and is no error. On failure the rows read before it stay filled. Publish rows
// beyond MQTT_Table_Rows are not loaded and a notice says so.
FileResult Load_MQTT_Topic(const AppState& st, const QString& path, MQTT_Topic_Table& m);

// Writes the publish rows up to the first blank Topic and an empty subscribe section. The
// caller runs Controllo_dati first and saves only when it passes.
FileResult Save_MQTT_Topic(const AppState& st, const QString& path, const MQTT_Topic_Table& m);

// Checks both tables; empty when they pass, else the error box's text for the first fault.
QString Controllo_dati(const AppState& st, const MQTT_Topic_Table& m);

} // namespace swr
