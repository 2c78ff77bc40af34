#pragma once

// The controls of the Set Communication screen, each made from its key's row of the key
// table, and the collapsible panels that hold them.

#include "project/pargen/ParGen.h"

#include <QPlainTextEdit>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

class QFormLayout;
class QToolButton;

namespace swr {

// A multi-line value (certificate, key, password) in a field one line high: Enter starts a
// new line, pasted text keeps its lines, Tab moves on. The value keeps the line breaks it
// was given: one given or pasted with CR LF gives CR LF back, also for lines typed since.
class ParTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ParTextEdit(QWidget* parent);
    void Set_Value(const QString& value);
    QString Value() const;

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    bool crlf_ = false;
};

// One row's field as the form shows it right of the label, and the control that holds
// each key's value in it: one control, or the four edits of an address.
struct ParField {
    QWidget* widget = nullptr;
    std::vector<std::pair<ParKey, QWidget*>> controls;
};

// The field of key k, made from its row of the key table: a flag is a check box, a choice a
// drop-down list of its entries only, a multi-line text a ParTextEdit, octet 1 of an
// address the OctetRow of the four octets (octets 2 to 4 belong to it), any other text an
// edit limited to the key's max_length. Each control is named after its key ("E_" + key
// for edits, "CB_" + key for check boxes and lists).
ParField Make_Par_Field(const ParKeyInfo& k, QWidget* parent);

// The value a control of key k holds, as the file writes it ("1"/"0", the entry's text).
QString Par_Field_Value(const ParKeyInfo& k, const QWidget* control);
void Set_Par_Field_Value(const ParKeyInfo& k, QWidget* control, const QString& value);
// Calls changed on every edit, list selection and check box change of the control.
void On_Par_Field_Change(const ParKeyInfo& k, QWidget* control, QObject* context,
                         const std::function<void()>& changed);

// A category panel: a header button that collapses and expands it, above a form of
// label/control rows. It is exactly as tall as the header and its visible rows plus a
// 12-pixel margin below them.
class CategoryPanel : public QWidget {
    Q_OBJECT
public:
    CategoryPanel(QWidget* parent, const char* name);
    QToolButton* Header() const { return header_; }
    QWidget* Body() const { return body_; }
    QFormLayout* Form() const { return form_; }
    bool Expanded() const;
    void Set_Expanded(bool on);

private:
    QToolButton* header_;
    QWidget* body_;
    QFormLayout* form_;
};

} // namespace swr
