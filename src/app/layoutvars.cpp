#include "app/layoutvars.h"

LayoutVariables Layout;
bool ExitAfterBackup = false;
