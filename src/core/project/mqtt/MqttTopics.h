#pragma once

#include "base/DataArea.h"
#include "base/GridColumns.h"
#include "project/CheckFinding.h"
#include "project/ProjectFile.h"
#include "project/TableTexts.h"
#include "project/mqtt/PublishReading.h"
#include "project/mqtt/TopicTemplate.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace swr {

class Texts;
struct Data_Area_Use;

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

inline constexpr const char* QoS_Choices[] = {"0", "1", "2"};
inline constexpr const char* Data_Type_Choices[] = {"Int", "Float", "String", "Base64"};
inline constexpr const char* Template_Choices[] = {Value_Keyword};
inline constexpr const char* Eth_Type_Choices[] = {"TCP", "UDP"};

// A column of a table, in the file and on the screen: its attribute and the row field it
// fills, how the grid shows it and what its drop-down offers. A check-box cell holds "Y"
// or "N", or nothing until it is touched. A row missing a required attribute cannot be
// loaded; a missing optional one gives absent.
template <class Row>
struct MQTT_Column {
    const char* name;
    QString Row::*field;
    Grid_Column_Desc grid;
    std::span<const char* const> choices = {};
    bool required = false;
    const char* absent = "";
};

// Attribute and grid order alike: grid column c (from 1) is entry c - 1. Column 0 holds
// the row number, with its own header (Txt::Pub_Number_Header, Txt::Sub_Number_Header)
// and no hint.
inline constexpr std::array<MQTT_Column<MQTT_Publish_Row>, 13> Publish_Columns{{
    {"Topic", &MQTT_Publish_Row::Topic, {1315, 1319}, {}, true},
    {"Retained", &MQTT_Publish_Row::Retained, {1316, 1320, Cell_Editor::Check}, {}, true},
    {"QoS", &MQTT_Publish_Row::QoS, {1317, 1321, Cell_Editor::Choice}, QoS_Choices, true},
    {"DataType", &MQTT_Publish_Row::DataType, {1337, 1340, Cell_Editor::Choice}, Data_Type_Choices},
    {"Dimension", &MQTT_Publish_Row::Dimension, {1338, 1341}},
    {"Position", &MQTT_Publish_Row::Position, {1339, 1342}},
    // Carried through load and save only; this product offers neither.
    {"IPAddress", &MQTT_Publish_Row::IPAddress, {1362, 1364, Cell_Editor::Hidden}},
    {"InputTemplate", &MQTT_Publish_Row::InputTemplate, {1363, 1365, Cell_Editor::Hidden}},
    {"Template", &MQTT_Publish_Row::Template, {1335, 1336, Cell_Editor::Editable_Choice}, Template_Choices},
    {"OnChange", &MQTT_Publish_Row::OnChange, {1381, 1382, Cell_Editor::Check}, {}, false, "N"},
    {"OnTimer", &MQTT_Publish_Row::OnTimer, {1384, 1387, Cell_Editor::Check}, {}, false, "N"},
    {"Time", &MQTT_Publish_Row::Time, {1385, 1388}},
    {"Mnemonic", &MQTT_Publish_Row::Mnemonic, {1318, 1322}, {}, true},
}};

inline constexpr std::array<MQTT_Column<MQTT_Subscribe_Row>, 12> Subscribe_Columns{{
    {"Topic", &MQTT_Subscribe_Row::Topic, {1325, 1329}, {}, true},
    {"Retained", &MQTT_Subscribe_Row::Retained, {1326, 1330, Cell_Editor::Check}, {}, true},
    {"QoS", &MQTT_Subscribe_Row::QoS, {1327, 1331, Cell_Editor::Choice}, QoS_Choices, true},
    {"DataType", &MQTT_Subscribe_Row::DataType, {1343, 1347, Cell_Editor::Choice}, Data_Type_Choices},
    {"Dimension", &MQTT_Subscribe_Row::Dimension, {1344, 1348}},
    {"Position", &MQTT_Subscribe_Row::Position, {1345, 1349}},
    {"IPAddress", &MQTT_Subscribe_Row::IPAddress, {1366, 1370}},
    {"Port", &MQTT_Subscribe_Row::Port, {1367, 1371}},
    {"EthType", &MQTT_Subscribe_Row::EthType, {1368, 1372, Cell_Editor::Choice}, Eth_Type_Choices},
    {"InputTemplate", &MQTT_Subscribe_Row::InputTemplate, {1369, 1373}},
    {"Template", &MQTT_Subscribe_Row::Template, {1346, 1350, Cell_Editor::Editable_Choice}, Template_Choices},
    {"Mnemonic", &MQTT_Subscribe_Row::Mnemonic, {1328, 1332}, {}, true},
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
    int Byte_IN = Data_Area_Size;  // bound of a publish Position
    int Byte_OUT = Data_Area_Size; // bound of a subscribe Position
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
FileResult Load_MQTT_Topic(const Texts& texts, const QString& path, MQTT_Topic_Table& m);

// The publish table as its file writes it, row by row; the CSV form reads and writes the
// same. Filling a row sets each cell to its text as it stands, as loading the file does.
const Table_Texts<MQTT_Topic_Table>& Publish_Texts();

// Writes every publish rule in table order and an empty subscribe section; empty rows in
// between are left out and lose no rule behind them. The caller runs Controllo_dati first
// and saves only when it passes.
FileResult Save_MQTT_Topic(const Texts& texts, const QString& path, const MQTT_Topic_Table& m);

// The tables of the file, as a finding's table names them.
inline constexpr int Publish_Table = 0;
inline constexpr int Subscribe_Table = 1;

// The findings of publish row ARow (from 1): the first test the check refuses, as an error
// in the words of Controllo_dati, then the warnings (a rule without a QoS, which the
// check passes and Update Device refuses). None for an empty row.
Check_Findings Publish_Row_Findings(const Texts& texts, const MQTT_Topic_Table& m, int ARow);
// The error message of publish row ARow alone, as Controllo_dati gives it when the row is
// the first to fail; empty when the row passes or is empty.
QString Publish_Row_Fault(const Texts& texts, const MQTT_Topic_Table& m, int ARow);

// The values a save writes for the row, to read it as the compiler does (Read_Publish).
Publish_Values Rule_Values(const MQTT_Publish_Row& row);

// The bytes a publish rule reads once saved and compiled: a rule whose Dimension as
// compiled is at least 1 and whose Position as compiled lies in the data area. False for
// any other row.
bool Rule_Placement(const MQTT_Publish_Row& row, int* Position, int* Dimension);

// The warnings and notes of publish rule ARow (from 1) against the listener uses, one a
// line, as the data-area map gives them; empty when it has none, or when the rule is not
// placed. They never stop a save.
QString Publish_Row_Warning(const Texts& texts, const MQTT_Topic_Table& m, int ARow,
                            const QList<Data_Area_Use>& listeners);

// The findings of both tables, in the order the check walks them: every publish row,
// then the subscribe rows up to the first blank Topic. The publish check passes over
// empty rows and refuses a filled row without a Topic.
Check_Findings Data_Check(const Texts& texts, const MQTT_Topic_Table& m);
// The check of OK: empty when nothing refuses it, else the error box's text for the
// first fault.
QString Controllo_dati(const Texts& texts, const MQTT_Topic_Table& m);

} // namespace swr
