#pragma once

#include <QList>
#include <QString>

namespace swr {

// One finding of an editor's data check: where it is, why, and whether it refuses OK. An
// error refuses OK, and the first error in the list is the one message OK shows; a
// warning marks its row and lets the file be saved.
struct Check_Finding {
    enum Severity { Error, Warning };

    int row = 0;     // table row, from 1; 0 for a communication parameter
    int key = -1;    // the communication parameter (its ParKey); -1 in a table
    int column = 0;  // grid column of the cell at fault, from 1; 0 for none
    int table = 0;   // in a file with two tables, which one (0 the first)
    int text = -1;   // string table index of the reason
    QString message; // finished, as the error box or the row's marker shows it
    Severity severity = Error;

    bool operator==(const Check_Finding&) const = default;
};

using Check_Findings = QList<Check_Finding>;

// The first error of findings; nullptr when none refuses OK.
inline const Check_Finding* First_Error(const Check_Findings& findings)
{
    for (const Check_Finding& f : findings)
        if (f.severity == Check_Finding::Error)
            return &f;
    return nullptr;
}

// The message OK shows for findings: the first error's, empty when there is none.
inline QString First_Error_Message(const Check_Findings& findings)
{
    const Check_Finding* e = First_Error(findings);
    return e ? e->message : QString();
}

} // namespace swr
