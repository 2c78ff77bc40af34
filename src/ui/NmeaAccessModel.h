#pragma once

#include "GridModel.h"

#include "project/DataArea.h"
#include "project/nmea/NmeaAccess.h"

namespace swr {

// What the grid shows about the table as a whole: the check's message per row, the
// bytes the rows fill and where they overlap.
struct NMEA_Findings {
    std::array<Check_Findings, NMEA_Listener_Rows> check; // per row, empty when it passes
    QList<Data_Area_Use> uses;
    QList<Data_Area_Overlap> overlaps;
    int rows_in_use = 0; // rows with a sentence
};

// The access screen's grid over a listener table: model column c - 1 is the table's
// column c (NMEA_Columns). Picking a sentence or a data field runs the screen's rules.
class NmeaAccessModel : public GridModel {
    Q_OBJECT
public:
    NmeaAccessModel(const AppState& st, NMEA_Listener_Table& t, QObject* parent = nullptr);

    QString Text(int row, int column) const override;
    bool Checked(int row, int column) const override;
    const NMEA_Findings& Findings() const;
    void Refresh() override;

    // The serial channels the hidden column offers.
    QStringList SerialChannel_SL;

protected:
    void Store_Text(int row, int column, const QString& text) override;
    void Store_Checked(int row, int column, bool checked) override;
    void Cell_Edited(int row, int column) override;
    QStringList Choices(int row, int column) const override;
    bool Row_Locked(int row, int column) const override;
    Row_Marker Marker(int row) const override;

private:
    NMEA_Listener_Table& t_;
    mutable NMEA_Findings findings_;
    mutable bool stale_ = true;
};

} // namespace swr
