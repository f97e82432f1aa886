#pragma once
// Marks on the way from process start to the launcher shown, and through each
// hot key, for the start-up and hot-key benchmarks. Only their build of the
// program (BrisqTraced.exe) has them; everywhere else they are nothing.
#ifdef BRISQ_TRACE
void TraceMark(const char* step);
#else
inline void TraceMark(const char*) {}
#endif
