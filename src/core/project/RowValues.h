#pragma once

#include "base/Xml.h"

#include <QAnyStringView>
#include <QString>
#include <QUtf8StringView>

#include <array>
#include <bitset>
#include <cstring>
#include <string_view>

namespace swr {

// The texts of one table row's attributes, for a fixed list of attribute names (Attr is
// an enum whose last entry, Count, follows the last name). They are read in one pass over
// a row element of a project file, or set from the cells of an editor's row, whose save
// writes every attribute. A missing attribute has no text; of two attributes of the same
// name the first counts. The texts are views: the document or the row must outlive them.
template <class Attr>
class Row_Values {
public:
    static constexpr size_t Count = size_t(Attr::Count);
    using Names = std::array<const char*, Count>;

    Row_Values() = default;
    Row_Values(const pugi::xml_node& row, const Names& names)
    {
        for (pugi::xml_attribute a = row.first_attribute(); a; a = a.next_attribute()) {
            const char* name = a.name();
            // The names found already are passed over: rows list them in order.
            for (size_t i = 0; i < Count; ++i) {
                if (!has_[i] && std::strcmp(name, names[i]) == 0) {
                    Set(Attr(i), QUtf8StringView(a.value()));
                    break;
                }
            }
        }
    }

    void Set(Attr a, QAnyStringView text)
    {
        text_[size_t(a)] = text;
        has_.set(size_t(a));
    }
    // A cell's text: Text then shares it instead of copying it.
    void Set(Attr a, const QString& cell)
    {
        Set(a, QAnyStringView(cell));
        cell_[size_t(a)] = &cell;
    }
    // The place of name in names; -1 when it is none of them.
    static constexpr int Index(std::string_view name, const Names& names)
    {
        for (size_t i = 0; i < Count; ++i)
            if (name == names[i])
                return int(i);
        return -1;
    }

    bool Has(Attr a) const { return has_.test(size_t(a)); }
    QAnyStringView View(Attr a) const { return text_[size_t(a)]; } // empty when missing
    QString Text(Attr a) const { return cell_[size_t(a)] ? *cell_[size_t(a)] : text_[size_t(a)].toString(); }

private:
    std::array<QAnyStringView, Count> text_{};
    std::array<const QString*, Count> cell_{};
    std::bitset<Count> has_;
};

} // namespace swr
