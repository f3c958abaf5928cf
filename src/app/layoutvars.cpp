#include "app/layoutvars.h"

#include <QCoreApplication>

LayoutVariables SharedLayout;
bool ExitAfterBackup = false;

void LayoutVariables::setStatusLabels(const QString& location)
{
    OpenLabel = QCoreApplication::translate("LayoutVariables", " %1 Open", "the location is open").arg(location);
    ClosedLabel = QCoreApplication::translate("LayoutVariables", " %1 Closed", "the location is closed").arg(location);
}
