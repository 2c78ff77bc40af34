#include "app/AppState.h"

#include "compiler/CompilerState.h"
#include "update/UpdateJob.h"

namespace swr {

Compiler_Handle::Compiler_Handle() : state_(std::make_unique<Compiler_State>()) {}
Compiler_Handle::Compiler_Handle(const Compiler_Handle& other)
    : state_(std::make_unique<Compiler_State>(*other.state_)) {}
Compiler_Handle::Compiler_Handle(Compiler_Handle&& other) noexcept : state_(std::make_unique<Compiler_State>())
{
    state_.swap(other.state_);
}
Compiler_Handle& Compiler_Handle::operator=(const Compiler_Handle& other)
{
    *state_ = *other.state_;
    return *this;
}
Compiler_Handle& Compiler_Handle::operator=(Compiler_Handle&& other) noexcept
{
    state_.swap(other.state_);
    return *this;
}
Compiler_Handle::~Compiler_Handle() = default;

Update_Folders Update_Folders_Of(const AppState& st)
{
    return {st.Program_Dir, st.Master_Dir, st.Active_Project_Dir};
}

} // namespace swr
