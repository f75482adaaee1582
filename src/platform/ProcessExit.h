#pragma once

// Ends the process with `status`, for a program that has already closed everything of its own (port,
// settings, database, single-instance lock).
// WORKAROUND: Qt 6.4 Multimedia tears its PulseAudio engine down in an exit handler while the engine's
// mainloop thread may still be dispatching a packet from the sound server; now and then that crashes
// (a segfault, or the assertion "'pd' failed at pdispatch.c:306") after the program has finished. The
// flite speech engine plays through it, so the exit handlers are skipped.
[[noreturn]] void endProcess(int status);
