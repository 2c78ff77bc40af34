#pragma once

#include <QByteArray>
#include <QString>

namespace swr {

// A readable dump of a bank file (bank 1, 2 or 3), one line per field with its offset in
// the file, its name and its value; texts and tables are followed through their
// addresses. Bytes that do not fit the layout are reported, never read past.
QString Decode_Bank(const QByteArray& bytes, int bank);

// The bank a file holds: from its name ("bank2.bin"), else from its size (2048 bytes
// bank 1, 1536 bank 2, anything else bank 3).
int Bank_Of_File(const QString& path, const QByteArray& bytes);

} // namespace swr
