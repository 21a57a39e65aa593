// Which copy of the program this is: its file, its folder, and whether it is the installed one.
#pragma once

#include <windows.h>

#include <string>

#include "environment/environment.h"

namespace quilmora {

// The facts of this start, read from the running file; whether it is installed is left to `Installata`.
Avvio QuestaCopia(HINSTANCE istanza);

// Whether the file `programma` lies in Program Files, where the installer puts it and only administrators may
// write: the one copy that may start with Windows for every user.
bool Installata(const std::wstring& programma);

}  // namespace quilmora
