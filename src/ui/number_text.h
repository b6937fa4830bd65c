#pragma once

#include <QString>

// A number as the user reads it, on screen and in the exports: general format, up to 15
// significant digits, the decimal separator of the user's regional settings, no digit
// grouping.
QString numberText(double value);
