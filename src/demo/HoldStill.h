#pragma once

// Keeps the process from going on, without drawing or handing the sound
// anything, until something outside ends it or lets it go on: LUMAROLL_STOP_AT's
// stop, so that a test reads the window as it stands. On POSIX the process
// stops itself (SIGSTOP; SIGCONT goes on); on Windows, where no process can,
// it waits until it is ended.
void holdStill();
