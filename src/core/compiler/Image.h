#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace swr {

// Every bank image is a buffer of this many bytes; the device maps each bank into a window
// of this size, so nothing may be written beyond it.
inline constexpr uint32_t Image_Capacity = 0x20000;

// Device addresses at which the firmware maps the three banks.
inline constexpr uint32_t Parameter_Bank_Base = 0x07000;
inline constexpr uint32_t NMEA_Bank_Base = 0x80000;
inline constexpr uint32_t MQTT_Bank_Base = 0xA0000;

// One bank as the device will find it: the bytes, how many of them are the bank, and the
// device address of byte 0.
struct Bank_Image {
    explicit Bank_Image(uint32_t base = 0) : Base(base) {}
    uint32_t Base;
    uint32_t Length = 0;
    QByteArray Bytes = QByteArray(Image_Capacity, '\0');

    QByteArray File_Bytes() const { return Bytes.left(Length); }
};

// Little-endian integer of width 1, 2 or 4 at p.
uint32_t Get_LE(const uint8_t* p, int width);
void Put_LE(uint8_t* p, uint32_t value, int width);

// Writes forward through an image and never past its end (the last byte it may write is
// at limit). A write that does not fit writes nothing and marks the writer failed; every
// later write is refused too, so a failed image is never mistaken for a short one.
class Image_Writer {
public:
    Image_Writer(QByteArray& image, uint32_t start, uint32_t limit);

    void Put(uint32_t value, int width);
    void Put_Bytes(const QByteArray& bytes);
    void Fail() { failed_ = true; }

    uint32_t Pos() const { return pos_; }
    uint32_t Start() const { return start_; }
    bool Failed() const { return failed_; }

private:
    bool Room(qsizetype n);

    uint8_t* data_;
    uint32_t start_;
    uint32_t pos_;
    uint64_t end_; // one past the last byte that may be written
    bool failed_ = false;
};

// A string the device reads through its address: CString is the text, Address its offset
// in the bank (0: no string), Len its UTF-8 byte count without the 0 byte.
struct TMQTTString {
    QString CString;
    uint32_t Address = 0;
    int32_t Len = 0;
};

// A TMQTTString in its 12-byte form: base + Address (0 when there is no string), Len, and
// the address again. Returns the offset after the 12 bytes.
uint32_t Write_MQTT_String(Image_Writer& w, uint32_t base, const TMQTTString& s);

// A text's UTF-8 bytes and one 0 byte; an empty text writes nothing. Returns the offset
// after them.
uint32_t Write_C_String(Image_Writer& w, const QString& text);

} // namespace swr
