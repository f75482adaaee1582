#pragma once

#include <QString>

// What a call's number and name become before they are stored and shown.
namespace CallRules
{

inline const QString kNoNumber = QStringLiteral("No Number");
inline const QString kUnknownCaller = QStringLiteral("Unknown Caller");
inline const QString kUnavailable = QStringLiteral("Unavailable");
inline const QString kBlocked = QStringLiteral("Blocked");

// Replaces missing values and the reason codes "O" (unavailable) and "P" (private) by their words, then
// cuts both texts to the sizes of their fields. Modems send the codes as "O" or, spaced, " O".
void applyReasonWords(QString& number, QString& name);
// The value without control characters, a tab apart, as a modem's text lines come: decoded caller-ID
// messages and network peers can carry them, and a line break would split the call's line in a report.
QString printable(const QString& value);
// "O" or "P", spaced or not: a reason the value was withheld, never a number to store in the phone list.
bool isReasonCode(const QString& value);

} // namespace CallRules
