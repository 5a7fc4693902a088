#pragma once
#include "ApplicationObjects.h"

class TApplication;

// The program's run: creates the long-lived objects, shows the login window
// and processes messages until it is closed. A failure while creating them
// (a table that cannot be opened) is shown in the error box and ends the
// program with status 1 before the login window appears.
int runProgram(TApplication& app, ApplicationObjects::DataModuleFactory openDataModule);
