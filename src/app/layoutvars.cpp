#include "app/layoutvars.h"

LayoutVariables SharedLayout;
bool ExitAfterBackup = false;
