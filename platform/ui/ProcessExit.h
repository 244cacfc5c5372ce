// Ending the process at once with an exit code.
//
// The installer ends by exit code from inside event handlers (finish 0, cancel 2, fatal start 3),
// possibly in the middle of work and nested loops. Nothing is cleaned up: no destructors, no
// exit handlers, no window teardown; only buffered standard output and error are flushed first,
// so the last log lines are not lost.
#pragma once

[[noreturn]] void ExitProcess(unsigned exitCode);
