// Seconds on the performance counter, for the measuring programs.
#ifndef VESKAROT_BENCH_CLOCK_H
#define VESKAROT_BENCH_CLOCK_H

#include <windows.h>

inline double Now()
{
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

#endif
