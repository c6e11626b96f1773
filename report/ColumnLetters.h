// Column letters for range addresses: 1 is "A", 27 is "AA", 256 is "IV" (the last column of an
// .xls sheet).
#pragma once

#include <QString>

namespace report::Excel1 {

// Above 256 the user is told "Number is higher than number of columns." and the result is empty;
// a number below 1 is reported and gives an empty text too.
QString ColumnNumberToLetter(int columnNumber);

}  // namespace report::Excel1
