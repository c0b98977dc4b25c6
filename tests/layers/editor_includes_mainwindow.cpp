// Must not compile: the editor lies below the windows.
#include "editor/session.h"
#include "mainwindow/main_window.h"
