#include "compiler/Image.h"

#include <algorithm>
#include <cstring>

namespace swr {

uint32_t Get_LE(const uint8_t* p, int width)
{
    uint32_t v = 0;
    for (int i = width - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

void Put_LE(uint8_t* p, uint32_t value, int width)
{
    for (int i = 0; i < width; ++i, value >>= 8)
        p[i] = uint8_t(value & 0xFF);
}

Image_Writer::Image_Writer(QByteArray& image, uint32_t start, uint32_t limit)
    : data_(reinterpret_cast<uint8_t*>(image.data())),
      start_(start),
      pos_(start),
      end_(std::min<uint64_t>(uint64_t(limit) + 1, uint64_t(image.size())))
{
    if (start_ > end_)
        failed_ = true;
}

bool Image_Writer::Room(qsizetype n)
{
    if (failed_ || uint64_t(pos_) + uint64_t(n) > end_) {
        failed_ = true;
        return false;
    }
    return true;
}

void Image_Writer::Put(uint32_t value, int width)
{
    if (!Room(width))
        return;
    Put_LE(data_ + pos_, value, width);
    pos_ += uint32_t(width);
}

void Image_Writer::Put_Bytes(const QByteArray& bytes)
{
    if (!Room(bytes.size()))
        return;
    std::memcpy(data_ + pos_, bytes.constData(), size_t(bytes.size()));
    pos_ += uint32_t(bytes.size());
}

uint32_t Write_MQTT_String(Image_Writer& w, uint32_t base, const TMQTTString& s)
{
    const uint32_t address = s.Address != 0 ? base + s.Address : 0;
    w.Put(address, 4);
    w.Put(uint32_t(s.Len), 4);
    w.Put(address, 4);
    return w.Pos();
}

uint32_t Write_C_String(Image_Writer& w, const QString& text)
{
    if (!text.isEmpty()) {
        w.Put_Bytes(text.toUtf8());
        w.Put(0, 1);
    }
    return w.Pos();
}

} // namespace swr
