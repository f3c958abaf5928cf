#pragma once
// The layout last loaded, shared by the day page, the template editor and the set-up page.
// Each screen reloads it from the database before it lays out a grid.
#include <QString>
#include <QStringList>

struct LayoutVariables {
    QString OpenTime;   // stored time of the first appointment
    QString CloseTime;  // stored time of the last appointment
    int TimeSlot = 0;   // minutes
    int ListNo = 0;     // providers
    int ColCount = 1;   // ListNo + 1
    QString SitesText;  // name lists as stored
    QString NamesText;
    QStringList SiteList;  // element i belongs to provider column i
    QStringList NameList;
    QString OpenLabel;    // " " & location & " Open"
    QString ClosedLabel;  // " " & location & " Closed"

    // Sets OpenLabel and ClosedLabel for the location word, in the language in use; every
    // screen with a status list words them the same way.
    void setStatusLabels(const QString& location);
};

extern LayoutVariables SharedLayout;

// Set when the user chose to back up while leaving the program: leaving the backup screen
// then ends the program.
extern bool ExitAfterBackup;
