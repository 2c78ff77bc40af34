#include "project/DataArea.h"

#include "project/nmea/NmeaAccess.h"

#include <algorithm>
#include <bitset>

namespace swr {

QList<Data_Area_Use> Listener_Uses(const NMEA_Listener_Table& t)
{
    QList<Data_Area_Use> uses;
    for (int ARow = 1; ARow <= NMEA_Listener_Rows; ++ARow) {
        Data_Area_Use u{Data_Area_User::Listener, ARow};
        if (Row_Placement(t.row(ARow), &u.Position, &u.Dimension))
            uses.append(u);
    }
    return uses;
}

QList<Data_Area_Overlap> Find_Overlaps(const QList<Data_Area_Use>& uses)
{
    QList<Data_Area_Overlap> found;
    for (int i = 0; i < uses.size(); ++i)
        for (int j = i + 1; j < uses.size(); ++j)
            if (uses[i].Shares_Bytes(uses[j].Position, uses[j].Dimension))
                found.append({i, j});
    return found;
}

QList<int> Uses_Touching(const QList<Data_Area_Use>& uses, int position, int dimension)
{
    QList<int> found;
    for (int i = 0; i < uses.size(); ++i)
        if (uses[i].Shares_Bytes(position, dimension))
            found.append(i);
    return found;
}

int Bytes_Filled(const QList<Data_Area_Use>& uses)
{
    std::bitset<Data_Area_Size> filled;
    for (const Data_Area_Use& u : uses)
        for (int b = std::max(u.Position, 0); b < std::min(u.End(), Data_Area_Size); ++b)
            filled.set(size_t(b));
    return int(filled.count());
}

int Next_Free_Position(const QList<Data_Area_Use>& uses)
{
    const auto last = std::max_element(uses.begin(), uses.end(),
                                       [](const Data_Area_Use& a, const Data_Area_Use& b) { return a.row < b.row; });
    return last == uses.end() ? 0 : last->End();
}

Publish_Read Find_Publish_Read(const QList<Data_Area_Use>& uses, int position, int dimension)
{
    Publish_Read r;
    const QList<int> touching = Uses_Touching(uses, position, dimension);
    for (int b = position; b < position + dimension; ++b) {
        const bool filled = std::any_of(touching.begin(), touching.end(),
                                        [&](int i) { return uses[i].Shares_Bytes(b, 1); });
        if (!filled && r.unfilled++ == 0)
            r.first_unfilled = b;
    }
    for (int i : touching) {
        if (uses[i].Position < position || uses[i].End() > position + dimension) {
            r.partial = i;
            break;
        }
    }
    return r;
}

} // namespace swr
