#pragma once

#include "compiler/Image.h"

#include <cstddef>
#include <string_view>

namespace swr {

// How a field of a bank is stored (and shown when a bank file is dumped).
enum class Kind : uint8_t {
    Number,   // unsigned little-endian integer of Width bytes
    Address,  // 32-bit device address of a text: the bank's base plus its offset in the bank
    Table,    // 32-bit device address of a table, stored like a text's
    Str12,    // a TMQTTString in its 12-byte form
    Tag,      // four characters, such as "MQTC"
    Zero,     // bytes that always hold 0
    Octets,   // Width single bytes, such as an IPv4 address
    Text,     // one byte per character, zero-filled
    Checksum, // 32-bit byte sum of everything before it
};

// One field of a bank or of a record in it. Value gives the value of a Number, Tag,
// Address or Table field (for the last two, the offset in the bank); Str gives a Str12
// field's string.
// Banks that are a picture of bytes themselves need neither.
template <class T>
struct Bank_Field {
    const char* Name;
    uint32_t Offset;
    uint8_t Width;
    Kind Shown;
    uint32_t (*Value)(const T&) = nullptr;
    const TMQTTString& (*Str)(const T&) = nullptr;
};

// True when the fields follow each other without gap or overlap and fill size bytes.
template <class F, std::size_t N>
constexpr bool Packed(const F (&layout)[N], uint32_t size)
{
    uint32_t at = 0;
    for (const F& f : layout) {
        if (f.Offset != at)
            return false;
        at += f.Width;
    }
    return at == size;
}

// True when the fields come in offset order without overlap and end within size bytes
// (the bytes between them are reserved).
template <class F, std::size_t N>
constexpr bool Ordered(const F (&layout)[N], uint32_t size)
{
    uint32_t at = 0;
    for (const F& f : layout) {
        if (f.Offset < at)
            return false;
        at = f.Offset + f.Width;
    }
    return at <= size;
}

// The field of that name; a name not in the layout does not compile.
template <class F, std::size_t N>
consteval const F& Field_Named(const F (&layout)[N], std::string_view name)
{
    for (const F& f : layout)
        if (name == f.Name)
            return f;
    throw "no field of that name";
}

// Writes one record field by field; addresses get the bank's base added.
template <class T, std::size_t N>
void Write_Record(Image_Writer& w, uint32_t base, const Bank_Field<T> (&layout)[N], const T& record)
{
    for (const Bank_Field<T>& f : layout) {
        switch (f.Shown) {
        case Kind::Address:
        case Kind::Table:
            w.Put(base + f.Value(record), 4);
            break;
        case Kind::Str12:
            Write_MQTT_String(w, base, f.Str(record));
            break;
        case Kind::Zero:
            for (int i = 0; i < f.Width; ++i)
                w.Put(0, 1);
            break;
        default:
            w.Put(f.Value(record), f.Width);
            break;
        }
    }
}

} // namespace swr
