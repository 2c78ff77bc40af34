#include "app/AppState.h"

namespace swr {

QString AppState::Get_Lang_Text(int index) const
{
    if (index < 0 || index >= Lang_Table.size())
        return {};
    return Lang_Table.at(index);
}

} // namespace swr
