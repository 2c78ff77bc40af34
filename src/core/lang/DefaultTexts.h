#pragma once

namespace swr {

// One built-in English text at its index; indices not listed hold a single blank.
struct DefaultText {
    int index;
    const char* text; // UTF-8
};

extern const DefaultText Default_Texts[];
extern const int Default_Texts_Count;

} // namespace swr
