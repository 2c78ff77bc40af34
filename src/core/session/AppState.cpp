#include "session/AppState.h"

#include "update/UpdateJob.h"

namespace swr {

Update_Folders Update_Folders_Of(const AppState& st)
{
    return {st.Program_Dir, st.Master_Dir, st.Active_Project_Dir};
}

} // namespace swr
