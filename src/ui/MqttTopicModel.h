#pragma once

#include "GridModel.h"

#include "project/mqtt/MqttTopics.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>

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
    // A text over several lines (a JSON template, say) shows on one, its breaks marked.
    QVariant data(const QModelIndex& index, int role) const override
    {
        QVariant v = GridModel::data(index, role);
        if (role == Qt::DisplayRole && v.typeId() == QMetaType::QString) {
            QString s = v.toString();
            if (s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'))) {
                s.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
                return s.replace(QLatin1Char('\n'), QStringLiteral(" \u21B5 "));
            }
        }
        return v;
    }
    bool Checked(int row, int column) const override
    {
        return Text(row, column).trimmed().toUpper() == QLatin1String("Y");
    }
    // A check cell moves with its own text: "Y", "N", or nothing while never touched.
    QString Check_Text(int row, int column) const override { return Text(row, column); }
    void Put_Check_Text(int row, int column, const QString& text) override { Put_Text(row, column, text); }

    // The marker icons come once from the style: a full table asks for hundreds of them
    // whenever the row-number column is measured.
    // The row-number cells all take the room of the widest number with a marker, so the
    // header is not measured row by row.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Vertical && role == Qt::SizeHintRole) {
            if (!number_size_.isValid()) {
                const QFontMetrics fm(QApplication::font());
                number_size_ = QSize(fm.horizontalAdvance(QString::number(rowCount())) + 16 + 16, fm.height() + 6);
            }
            return number_size_;
        }
        if (orientation != Qt::Vertical || role != Qt::DecorationRole || section < 0 || section >= rowCount())
            return GridModel::headerData(section, orientation, role);
        const Row_Marker m = Marker(section);
        if (m.kind == Row_Marker::None)
            return {};
        QIcon& icon = icons_[m.kind == Row_Marker::Error ? 0 : 1];
        if (icon.isNull())
            icon = qvariant_cast<QIcon>(GridModel::headerData(section, orientation, role));
        return icon;
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
    mutable QIcon icons_[2]; // error, warning
    mutable QSize number_size_;
    const std::array<MQTT_Column<Row>, N>& columns_;
};

using MqttPublishModel = MqttTopicModel<MQTT_Publish_Row, Publish_Columns.size()>;
using MqttSubscribeModel = MqttTopicModel<MQTT_Subscribe_Row, Subscribe_Columns.size()>;

} // namespace swr
