#pragma once

#include "lang/Texts.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace swr {

// A read-only view of a string table for whoever only shows its texts. It holds the
// table by address, so the table must outlive the view; a view is cheap to copy and may
// be read from several threads at once while nobody changes the table.
class Texts {
public:
    explicit Texts(const QStringList& Lang_Table) : table_(&Lang_Table) {}

    // The entry at index; an index outside the table gives an empty text.
    QString Get_Lang_Text(int index) const
    {
        return index < 0 || index >= table_->size() ? QString() : table_->at(index);
    }

private:
    const QStringList* table_;
};

// Empties the table and fills it with the built-in English texts, in index order.
void Load_Default_Strings(QStringList& Lang_Table);

// Decodes text bytes: UTF-8 / UTF-16 LE / UTF-16 BE by byte-order mark (the mark
// dropped), otherwise Windows-1252. Used for language files and error positions in XML.
QString Decode_Language_Bytes(const QByteArray& bytes);

// One entry line of a language file: the index it names and the text it gives.
struct Language_Entry {
    int index;
    QString text;
};

// The entry lines of a language file's text, in file order, each as the table takes it;
// every other line is left out. Several entries may name one index: the last one counts.
QList<Language_Entry> Language_Entries(const QString& text);

// Applies the entry lines of a language file's text to the table.
void Apply_Language_Text(QStringList& Lang_Table, const QString& text);

// The text of the language file at path, decoded as the reader decodes it. Returns false
// and sets error (the system's reason) when the file cannot be opened.
bool Read_Language_File_Text(const QString& path, QString* text, QString* error);

// Applies the language file at path to the table. Returns false and sets error (the
// system's reason) when the file cannot be opened; the table is then unchanged.
bool Read_Language_File(QStringList& Lang_Table, const QString& path, QString* error);

// The table as a translator's starting point: "STR<index> = ¶<text>¶" per entry, LF.
QString Lang_Table_As_File_Text(const QStringList& Lang_Table);

} // namespace swr
