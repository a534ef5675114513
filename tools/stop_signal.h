// A stop asked for by a signal (SIGINT from Ctrl-C, SIGTERM) to a companion
// tool that must clean up before it ends, such as the hindcast and its
// scratch folder.
//
// catch_stop_signals() makes both signals set a flag and nothing more (a
// signal-safe lock-free atomic: the one piece of process-wide state of the
// tools, since a handler can reach nothing else); the first signal also
// gives both back their default action, so that a second one ends the tool
// at once. The pool of tasks (tools/task_pool.h) starts no task once the
// flag is set, and the tool, once the pool has returned and it has cleaned
// up, exits with 128 + stop_signal(). Without catch_stop_signals() the
// signals keep their default action and the flag stays 0.
#pragma once

namespace darcalim {

void catch_stop_signals();

// The signal caught (SIGINT or SIGTERM), or 0.
int stop_signal();

}  // namespace darcalim
