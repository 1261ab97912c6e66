// The directory of the running program, where Config.dat lives.
#ifndef VESKAROT_MODULEDIR_H
#define VESKAROT_MODULEDIR_H

#include <cstddef>

constexpr size_t MODULE_DIR_SIZE = 260;

// Wide path, so that any letter of the folder's name is kept, without a
// trailing separator; empty when it could not be found.
extern wchar_t gModuleDir[MODULE_DIR_SIZE];

// Fills gModuleDir from the running program's own path. A path the system
// had to cut short leaves gModuleDir empty: its directory is not known.
void InitModuleDir();

#endif
