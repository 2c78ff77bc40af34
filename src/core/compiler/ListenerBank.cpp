#include "compiler/ListenerBank.h"

#include "project/nmea/ListenerReading.h"

#include "lang/Texts.h"
#include "lang/LangTable.h"
#include "compiler/Layouts.h"
#include "compiler/Reading.h"
#include "project/ProjectFile.h"

namespace swr {

namespace {

// Compiles one row of NMEA_Listener into item; false skips the row.
bool Compile_NMEA_Listener_Row(const pugi::xml_node& row, int channel, TNMEA_Listener_Item& item)
{
    Listener_As_Compiled c;
    if (!Read_Listener(Read_Listener_Values(row), &c))
        return false;
    item = TNMEA_Listener_Item{};
    item.Sentence_Index = uint16_t(c.Sentence_Index);
    item.Position = c.Position;
    item.Channel_Code = uint8_t(channel);
    item.Field_Index = uint8_t(c.Field_Index);
    item.Post_Operation = c.Post_Operation;
    item.Swap_Flags = c.Swap_Flags;
    item.Item_Index = c.Item_Index;
    return true;
}

} // namespace

void Clear_NMEA_Listener(NMEA_Listener_Bank_Items& items)
{
    items.fill(TNMEA_Listener_Item{});
}

FileResult Read_NMEA_Listener(const Texts& texts, const QString& File_NMEA_Access,
                              NMEA_Listener_Bank_Items& items, Parameter_Bank_Bytes& bank)
{
    uint32_t count = 0;
    pugi::xml_document doc;
    bool missing = false;
    FileResult r = Load_Project_Xml(texts, File_NMEA_Access, doc, &missing);
    if (r.ok && !missing) {
        const pugi::xml_node list = Xml_Root(doc).child("NMEA_Listener");
        if (!list) {
            r.ok = false;
            r.message = Compile_Error_Text(texts, File_NMEA_Access,
                                           texts.Get_Lang_Text(Txt::Compile_Element_Missing)
                                               .arg(QLatin1String("NMEA_Listener")));
            return r;
        }
        // Every row goes to the RS232 line; without its flag no row compiles.
        const int channel =
            Serial_Channel_Code(QStringLiteral("RS232"),
                                uint8_t(Get_Field(bank, Par("Serial_Enable_Flags"))));
        const QList<pugi::xml_node> rows = channel < 0 ? QList<pugi::xml_node>()
                                                       : Element_Children(list);
        for (const pugi::xml_node& row : rows) {
            TNMEA_Listener_Item item;
            if (!Compile_NMEA_Listener_Row(row, channel, item))
                continue;
            if (count == NMEA_Listener_Max) {
                r.ok = false;
                r.message = Compile_Error_Text(texts, File_NMEA_Access,
                                               texts.Get_Lang_Text(Txt::Compile_Too_Many_Rows)
                                                   .arg(NMEA_Listener_Max));
                return r;
            }
            items[count++] = item;
        }
    }
    Put_Field(bank, Par("NMEA_Listener_Count"), count);
    return r;
}

uint32_t Write_NMEA_Listener_Bank(const NMEA_Listener_Bank_Items& items, QByteArray& buffer,
                                  uint32_t start)
{
    Image_Writer w(buffer, start, Image_Capacity - 1);
    for (const TNMEA_Listener_Item& item : items)
        Write_Record(w, 0, NMEA_Listener_Item_Layout, item);
    return w.Pos();
}

} // namespace swr
