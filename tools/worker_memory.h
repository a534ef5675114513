// The memory of the workers of a tool that does many runs (the batch, the
// hindcast).
//
// reuse_freed_memory asks the C library's allocator to keep the memory a run
// frees for the next run of the process, instead of handing it back to the
// system and having the next run fault it in afresh page by page: the tables
// of a run (a few MB) then come from memory already in use, and a worker's
// memory stays at the size of its largest run, however many runs it does.
// Call it once, at the start of main, before any thread is started; where
// the allocator has no such setting it does nothing.
#pragma once

namespace darcalim {

void reuse_freed_memory();

}  // namespace darcalim
