// Must not compile: the program's start lies above the main window.
#include "mainwindow/main_window.h"
#include "startup/application.h"
