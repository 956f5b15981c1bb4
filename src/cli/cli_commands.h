// The three commands of fieldmate-cli, run over a started engine and store.
#pragma once

#include "cli/cli_options.h"

class AcTransmitManage;
class CSqlManagement;

// Each returns the exit code; stopFd becomes readable on SIGINT or SIGTERM, which ends the run early
// (discover still prints what it found).
int RunDiscover(AcTransmitManage& engine, CSqlManagement& store, const CliOptions& options, int stopFd);
int RunMonitor(AcTransmitManage& engine, CSqlManagement& store, const CliOptions& options, int stopFd);
int RunAdapters(AcTransmitManage& engine, const CliOptions& options);
