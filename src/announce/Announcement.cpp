#include "Announcement.h"

#include "CallRules.h"

QString announcementFor(const QString& callerName)
{
    if (callerName == CallRules::kUnknownCaller || callerName == CallRules::kBlocked
        || callerName == CallRules::kUnavailable || callerName == CallRules::kNoNumber)
        return callerName;
    return callerName + QStringLiteral(" is calling");
}
