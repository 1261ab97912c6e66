// The directory of the running program, where Config.dat lives.
#ifndef VESKAROT_MODULEDIR_H
#define VESKAROT_MODULEDIR_H

#include <cstddef>

constexpr size_t MODULE_DIR_SIZE = 260;

// ANSI path without a trailing separator; empty when it could not be found.
extern char gModuleDir[MODULE_DIR_SIZE];

// Cuts the last component and the backslash before it from a module path,
// in place. A path without a backslash becomes empty.
void StripLastPathComponent(char *path);

// Fills gModuleDir from the running program's own path. A path the system
// had to cut short leaves gModuleDir empty: its directory is not known.
void InitModuleDir();

#endif
