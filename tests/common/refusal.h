#pragma once
// What a call refused, for the cases that expect a refusal.
#include <QString>

// The message of the exception of type E that `act` throws; "<not refused>" when it throws none.
template <typename E, typename Act>
QString refusal(Act&& act)
{
    try {
        act();
    } catch (const E& e) {
        return e.message();
    }
    return QStringLiteral("<not refused>");
}
