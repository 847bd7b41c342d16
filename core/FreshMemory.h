#pragma once
// A model's chunks are written from start to end right after they are allocated. Memory fresh from
// the system would take one page fault per 4 KB as the writing reaches it; asking for the pages
// in one call costs far less, and the first printout opened in a process is read that much sooner.
#include <cstddef>

// Maps in the whole pages of a block of at least 64 KB that is about to be written; does nothing
// for smaller blocks, or where the system cannot.
void PrefaultForWriting(void *data, size_t bytes);
