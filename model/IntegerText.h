#pragma once

#include <QString>

#include <optional>

/// The integer text rule: optional leading blanks, an optional sign, then decimal digits in the
/// 32-bit signed range or a hexadecimal prefix ("$", "x", "X", "0x", "0X") with digits that fit
/// in 32 bits. Nothing may follow the digits. Gives no value for any other text.
std::optional<qint32> TryStrToInt(const QString &text);

/// TryStrToInt that raises EConvertError "'<text>' is not a valid integer value" on failure.
qint32 StrToInt(const QString &text);

/// 0 to 15 for a hexadecimal digit of either case, -1 for any other character.
int HexDigitValue(char16_t c);

/// Plain decimal form, "-" when negative.
QString IntToStr(qint32 value);
