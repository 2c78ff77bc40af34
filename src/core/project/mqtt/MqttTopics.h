#pragma once

#include "project/ProjectFile.h"
#include "project/mqtt/TopicTemplate.h"

#include <QList>
#include <QString>

#include <array>
#include <span>
#include <string_view>

namespace swr {

struct AppState;

inline constexpr int MQTT_Table_Rows = 1024; // rows of each table (grid rows 1..1024)
inline constexpr int MQTT_Data_Area = 2000;  // bytes of the device's input and output areas

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

// How the topic screen edits a cell.
enum class MQTT_Editor {
    Text,
    Check,         // a check box; the cell holds "Y" or "N", or nothing until touched
    List,          // a drop-down list of the column's choices
    Editable_List, // the choices offered, any text accepted
};

inline constexpr const char* QoS_Choices[] = {"0", "1", "2"};
inline constexpr const char* Data_Type_Choices[] = {"Int", "Float", "String", "Base64"};
inline constexpr const char* Template_Choices[] = {Value_Keyword};
inline constexpr const char* Eth_Type_Choices[] = {"TCP", "UDP"};

// A column of a table, in the file and on the screen: its attribute and the row field it
// fills, the string table indices of its header and header hint, how it is edited and
// whether it is shown. A row missing a required attribute cannot be loaded; a missing
// optional one gives absent.
template <class Row>
struct MQTT_Column {
    const char* name;
    QString Row::*field;
    int header = -1;
    int hint = -1;
    MQTT_Editor editor = MQTT_Editor::Text;
    std::span<const char* const> choices = {};
    bool shown = true;
    bool required = false;
    const char* absent = "";
};

// Attribute and grid order alike: grid column c (from 1) is entry c - 1. Column 0 holds
// the row number, with its own header and no hint.
inline constexpr int Pub_Number_Header = 1314;
inline constexpr std::array<MQTT_Column<MQTT_Publish_Row>, 13> Publish_Columns{{
    {.name = "Topic", .field = &MQTT_Publish_Row::Topic, .header = 1315, .hint = 1319, .required = true},
    {.name = "Retained", .field = &MQTT_Publish_Row::Retained, .header = 1316, .hint = 1320,
     .editor = MQTT_Editor::Check, .required = true},
    {.name = "QoS", .field = &MQTT_Publish_Row::QoS, .header = 1317, .hint = 1321,
     .editor = MQTT_Editor::List, .choices = QoS_Choices, .required = true},
    {.name = "DataType", .field = &MQTT_Publish_Row::DataType, .header = 1337, .hint = 1340,
     .editor = MQTT_Editor::List, .choices = Data_Type_Choices},
    {.name = "Dimension", .field = &MQTT_Publish_Row::Dimension, .header = 1338, .hint = 1341},
    {.name = "Position", .field = &MQTT_Publish_Row::Position, .header = 1339, .hint = 1342},
    // Carried through load and save only; this product offers neither.
    {.name = "IPAddress", .field = &MQTT_Publish_Row::IPAddress, .header = 1362, .hint = 1364, .shown = false},
    {.name = "InputTemplate", .field = &MQTT_Publish_Row::InputTemplate, .header = 1363, .hint = 1365,
     .shown = false},
    {.name = "Template", .field = &MQTT_Publish_Row::Template, .header = 1335, .hint = 1336,
     .editor = MQTT_Editor::Editable_List, .choices = Template_Choices},
    {.name = "OnChange", .field = &MQTT_Publish_Row::OnChange, .header = 1381, .hint = 1382,
     .editor = MQTT_Editor::Check, .absent = "N"},
    {.name = "OnTimer", .field = &MQTT_Publish_Row::OnTimer, .header = 1384, .hint = 1387,
     .editor = MQTT_Editor::Check, .absent = "N"},
    {.name = "Time", .field = &MQTT_Publish_Row::Time, .header = 1385, .hint = 1388},
    {.name = "Mnemonic", .field = &MQTT_Publish_Row::Mnemonic, .header = 1318, .hint = 1322, .required = true},
}};

inline constexpr int Sub_Number_Header = 1324;
inline constexpr std::array<MQTT_Column<MQTT_Subscribe_Row>, 12> Subscribe_Columns{{
    {.name = "Topic", .field = &MQTT_Subscribe_Row::Topic, .header = 1325, .hint = 1329, .required = true},
    {.name = "Retained", .field = &MQTT_Subscribe_Row::Retained, .header = 1326, .hint = 1330,
     .editor = MQTT_Editor::Check, .required = true},
    {.name = "QoS", .field = &MQTT_Subscribe_Row::QoS, .header = 1327, .hint = 1331,
     .editor = MQTT_Editor::List, .choices = QoS_Choices, .required = true},
    {.name = "DataType", .field = &MQTT_Subscribe_Row::DataType, .header = 1343, .hint = 1347,
     .editor = MQTT_Editor::List, .choices = Data_Type_Choices},
    {.name = "Dimension", .field = &MQTT_Subscribe_Row::Dimension, .header = 1344, .hint = 1348},
    {.name = "Position", .field = &MQTT_Subscribe_Row::Position, .header = 1345, .hint = 1349},
    {.name = "IPAddress", .field = &MQTT_Subscribe_Row::IPAddress, .header = 1366, .hint = 1370},
    {.name = "Port", .field = &MQTT_Subscribe_Row::Port, .header = 1367, .hint = 1371},
    {.name = "EthType", .field = &MQTT_Subscribe_Row::EthType, .header = 1368, .hint = 1372,
     .editor = MQTT_Editor::List, .choices = Eth_Type_Choices},
    {.name = "InputTemplate", .field = &MQTT_Subscribe_Row::InputTemplate, .header = 1369, .hint = 1373},
    {.name = "Template", .field = &MQTT_Subscribe_Row::Template, .header = 1346, .hint = 1350,
     .editor = MQTT_Editor::Editable_List, .choices = Template_Choices},
    {.name = "Mnemonic", .field = &MQTT_Subscribe_Row::Mnemonic, .header = 1328, .hint = 1332, .required = true},
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

// The topic screen's tables: always MQTT_Table_Rows rows each, table order.
struct MQTT_Topic_Table {
    QList<MQTT_Publish_Row> Pub = QList<MQTT_Publish_Row>(MQTT_Table_Rows);
    QList<MQTT_Subscribe_Row> Sub = QList<MQTT_Subscribe_Row>(MQTT_Table_Rows);
    int Byte_IN = MQTT_Data_Area;  // bound of a publish Position
    int Byte_OUT = MQTT_Data_Area; // bound of a subscribe Position
};

// A publish row is a rule when its Topic is not blank: saving writes exactly these rows.
bool Is_Publish_Rule(const MQTT_Publish_Row& row);
// A publish row holding nothing: no Topic and every other shown cell blank, a check box
// holding "N" counting as blank. The check passes over it and saving leaves it out.
bool Is_Empty_Row(const MQTT_Publish_Row& row);
// The rules of the publish table.
int Publish_Rule_Count(const MQTT_Topic_Table& m);

// Empties both tables and fills them from the file at path. A missing file leaves them
// empty and is no error. On failure the rows read before it stay filled. Publish rows
// beyond MQTT_Table_Rows are not loaded and a notice says so.
FileResult Load_MQTT_Topic(const AppState& st, const QString& path, MQTT_Topic_Table& m);

// Writes every publish rule in table order and an empty subscribe section; empty rows in
// between are left out and lose no rule behind them.
FileResult Save_MQTT_Topic(const AppState& st, const QString& path, const MQTT_Topic_Table& m);

// The check's message for publish row ARow (from 1) alone, as Controllo_dati gives it
// when the row is the first to fail; empty when the row passes or is empty.
QString Publish_Row_Fault(const AppState& st, const MQTT_Topic_Table& m, int ARow);

// Checks both tables; empty when they pass, else the error box's text for the first fault.
// The publish check passes over empty rows and refuses a filled row without a Topic; the
// subscribe check ends at its first blank Topic.
QString Controllo_dati(const AppState& st, const MQTT_Topic_Table& m);

} // namespace swr
