#pragma once

#include <QAnyStringView>

namespace swr {

// Decimal integers read from texts. Each reader's name says its rule; all take ASCII
// digits with an optional sign and values within int.

// The whole text, nothing around the number: " 1" and "" are not numbers. The editors'
// data checks and the parameter file's flags read this way.
int Decimal_Whole_Or(QAnyStringView text, int fallback);

// The text after trimming blanks and control characters (U+0000..U+0020) at both ends:
// " 7 " is 7. The compiler and the listener table read this way.
int Decimal_Trimmed_Or(QAnyStringView text, int fallback);
bool Parse_Decimal_Trimmed(QAnyStringView text, int* value);

} // namespace swr
