#pragma once
#include <optional>

#include "WideString.h"

// Numbers written and read the same way in every C runtime, with "." as the
// decimal separator, whatever the locale.

// As printf "%.<decimals>f".
CString FormatFixed(double value, int decimals);
// As printf "%d".
CString FormatInt(int value);
// As printf "%g": shortest general form with up to 6 significant digits.
CString FormatGeneral(double value);

// Reads the number at the start of the text as atof and "%lf" do: leading white
// space skipped, an optional sign, then a decimal or hexadecimal number, "inf" or
// "nan"; whatever follows is ignored. No number: nullopt. Overflow gives ±inf.
// A comma between two digits is read as the decimal point: "7,5" is 7.5.
std::optional<double> ScanNumber(std::wstring_view text);
// A typed diameter: a text without a finite number counts as 0.
double ParseDiameter(std::wstring_view text);
// A typed whole number as the decimal integer conversion reads it, clamped to int.
int ParseInteger(std::wstring_view text);
