// SIGINT, SIGTERM and SIGHUP turned into a readable descriptor, so that a front end ends the run
// through its normal shutdown instead of dying inside a signal handler.
#pragma once

// Installs the handlers once; returns the descriptor that becomes readable on a stop signal.
int InstallStopSignals();

bool StopRequested();
