#pragma once

#include "GridModel.h"

#include "project/mqtt/MqttTopics.h"

#include <functional>

namespace swr {

// The grid columns of a topic table's column description.
template <class Row, size_t N>
QList<Grid_Column_Desc> Topic_Grid_Columns(const std::array<MQTT_Column<Row>, N>& columns)
{
    QList<Grid_Column_Desc> grid;
    for (const MQTT_Column<Row>& c : columns)
        grid.append(c.grid);
    return grid;
}

// A table of the topic screen as a grid model over its rows: model column c - 1 is entry
// c - 1 of the column description and shows that field of each row. A check-box cell
// holds "Y" or "N" once touched and shows checked for "Y".
template <class Row, size_t N>
class MqttTopicModel final : public GridModel {
public:
    MqttTopicModel(const AppState& st, QList<Row>& rows, const std::array<MQTT_Column<Row>, N>& columns,
                   QObject* parent = nullptr)
        : GridModel(st, Topic_Grid_Columns(columns), int(rows.size()), parent), rows_(rows), columns_(columns)
    {
    }

    QString Text(int row, int column) const override { return rows_.at(row).*columns_[size_t(column)].field; }
    bool Checked(int row, int column) const override
    {
        return Text(row, column).trimmed().toUpper() == QLatin1String("Y");
    }

    // Replaces every row at once (a load) and tells the views.
    template <class F>
    void Reset(F&& fill)
    {
        beginResetModel();
        fill();
        endResetModel();
    }

    std::function<Row_Marker(int row)> marker; // the row-number cell's marker
    std::function<void(int row)> edited;       // after the user changed a cell of the row

protected:
    void Store_Text(int row, int column, const QString& text) override
    {
        rows_[row].*columns_[size_t(column)].field = text;
    }
    void Store_Checked(int row, int column, bool checked) override
    {
        Store_Text(row, column, QString::fromLatin1(checked ? "Y" : "N"));
    }
    void Cell_Edited(int row, int) override
    {
        if (edited)
            edited(row);
    }
    QStringList Choices(int, int column) const override
    {
        QStringList list;
        for (const char* c : columns_[size_t(column)].choices)
            list.append(QString::fromUtf8(c));
        return list;
    }
    Row_Marker Marker(int row) const override { return marker ? marker(row) : Row_Marker{}; }

private:
    QList<Row>& rows_;
    const std::array<MQTT_Column<Row>, N>& columns_;
};

using MqttPublishModel = MqttTopicModel<MQTT_Publish_Row, Publish_Columns.size()>;
using MqttSubscribeModel = MqttTopicModel<MQTT_Subscribe_Row, Subscribe_Columns.size()>;

} // namespace swr
