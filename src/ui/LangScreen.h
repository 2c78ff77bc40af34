#pragma once

namespace swr {

// A screen whose texts come from the string table. Set_Lang applies them; the main window
// calls it for every screen when the language changes.
class ILangScreen {
public:
    virtual ~ILangScreen() = default;
    virtual void Set_Lang() = 0;
};

} // namespace swr
