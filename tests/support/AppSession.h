#pragma once

#include "app/CPravikApp.h"

// Starts the application as the program does with no file named, inside the test's own Qt
// application; true when start-up succeeded.
inline bool startApplication()
{
    int argc = 1;
    char name[] = "ondrava";
    char *argv[] = {name, nullptr};
    return AfxGetApp()->InitInstance(argc, argv);
}
