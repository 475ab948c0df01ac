#include <windows.h>

#include "app/Vedazi_QVApp.h"

static CVedazi_QVApp theApp;

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return theApp.Run(instance); }
