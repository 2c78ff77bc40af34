#include "session/Settings.h"
#include "lang/FileTexts.h"

#include "session/AppState.h"
#include "base/Files.h"
#include "base/Messages.h"
#include "base/Xml.h"

#include <iterator>
#include <optional>

namespace swr {

namespace {

// The settings tree: the group below the root, the element inside it, and the global.
struct TextSetting {
    const char* group;
    const char* element;
    QString AppState::*value;
    const char* fallback;
};

struct FlagSetting {
    const char* element;
    bool AppState::*value;
};

const TextSetting Text_Settings[] = {
    {"lastproj", "projectname", &AppState::Active_Project_Name, ""},
    {"lastipadd", "ipaddress", &AppState::Last_IP_Address, Default_IP_Address},
    {"lastlang", "language", &AppState::Language_Name, Default_Language},
};

// The four switches, all children of the one "lastinternet" element.
constexpr const char* Switch_Group = "lastinternet";
const FlagSetting Switch_Settings[] = {
    {"enable_internet", &AppState::Enable_Internet},
    {"enable_update", &AppState::Enable_Update},
    {"enable_jump_field_tables", &AppState::Enable_Jump_Field_Tables},
    {"Double_Click_Auto_Size", &AppState::Double_Click_Auto_Size},
};

// The places of the resizable screens: after the four groups above, one element per
// screen named after it, with the four numbers of its area and the maximised flag. A
// reader that knows only the groups above passes over it.
constexpr const char* Places_Group = "lastwindows";
constexpr const char* Place_Maximized = "maximized";
constexpr struct {
    const char* element;
    int (QRect::*get)() const;
} Place_Numbers[] = {
    {"left", &QRect::x}, {"top", &QRect::y}, {"width", &QRect::width}, {"height", &QRect::height},
};

void Set_Defaults(AppState& st)
{
    for (const TextSetting& t : Text_Settings)
        st.*t.value = QString::fromUtf8(t.fallback);
    for (const FlagSetting& f : Switch_Settings)
        st.*f.value = false;
    st.Screen_Places.clear();
}

// A screen's place as written; none when a number is missing or not one, or the area is empty.
std::optional<Screen_Place> Read_Place(const pugi::xml_node& screen)
{
    int n[std::size(Place_Numbers)];
    for (size_t i = 0; i < std::size(Place_Numbers); ++i) {
        bool ok = false;
        n[i] = Xml_Text(screen.child(Place_Numbers[i].element)).toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    const QRect normal(n[0], n[1], n[2], n[3]);
    if (normal.isEmpty())
        return std::nullopt;
    return Screen_Place{normal, Xml_Text(screen.child(Place_Maximized)) == QLatin1String("1")};
}

} // namespace

QString Settings_File(const AppState& st)
{
    return Join_Path(st.Program_Dir, QString::fromLatin1(Settings_File_Name));
}

void Read_Settings(AppState& st, IMessages& msg)
{
    Set_Defaults(st);
    pugi::xml_document doc;
    XmlError err;
    const XmlLoad r = Load_Xml_File(Settings_File(st), doc, &err);
    if (r == XmlLoad::Failed) {
        msg.Show_Error(Xml_Error_Text(st, err));
        return;
    }
    if (r == XmlLoad::Missing)
        return;
    const pugi::xml_node root = Xml_Root(doc);
    for (const TextSetting& t : Text_Settings) {
        bool found = false;
        const QString v = Xml_Text(root.child(t.group).child(t.element), &found);
        if (found)
            st.*t.value = v;
    }
    const pugi::xml_node group = root.child(Switch_Group);
    for (const FlagSetting& f : Switch_Settings)
        st.*f.value = Xml_Text(group.child(f.element)) == QLatin1String("1");
    for (const pugi::xml_node& screen : root.child(Places_Group).children())
        if (screen.type() == pugi::node_element)
            if (const std::optional<Screen_Place> place = Read_Place(screen))
                st.Screen_Places.insert(Q(screen.name()), *place);
}

bool Save_Setting(const AppState& st, QString* error)
{
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("Conf_Settings");
    for (const TextSetting& t : Text_Settings)
        root.append_child(t.group).append_child(t.element).text().set(U(st.*t.value).c_str());
    pugi::xml_node group = root.append_child(Switch_Group);
    for (const FlagSetting& f : Switch_Settings)
        group.append_child(f.element).text().set(st.*f.value ? "1" : "0");
    // Written only once a screen has been placed, so a first run writes what it always did.
    if (!st.Screen_Places.isEmpty()) {
        pugi::xml_node places = root.append_child(Places_Group);
        for (auto it = st.Screen_Places.cbegin(); it != st.Screen_Places.cend(); ++it) {
            pugi::xml_node screen = places.append_child(U(it.key()).c_str());
            for (const auto& n : Place_Numbers)
                screen.append_child(n.element).text().set((it->normal.*n.get)());
            screen.append_child(Place_Maximized).text().set(it->maximized ? "1" : "0");
        }
    }
    QString reason;
    if (Save_Xml_File(doc, Settings_File(st), &reason))
        return true;
    if (error)
        *error = File_Not_Written_Text(st, Settings_File(st), reason);
    return false;
}

} // namespace swr
