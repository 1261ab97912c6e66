/* The program's version: the version resource and the release package's name
   and date. */
#ifndef VESKAROT_VERSION_H
#define VESKAROT_VERSION_H

#define VERSION_MAJOR 1
#define VERSION_MINOR 5
#define VERSION_PATCH 1
#define VERSION_TEXT  "1.5.1"
#define VERSION_DATE  "2026-12-09"

#endif
