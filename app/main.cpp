// Quillet's entry point: the command line is not used.
#include <windows.h>

#include "app/shell.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    return quillet::RunQuillet(instance, showCommand);
}
