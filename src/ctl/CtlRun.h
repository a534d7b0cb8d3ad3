#pragma once

#include <QStringList>

// One run of lumoq4ctl: reads the command line, runs the command and tells the outcome.
// Returns the exit status.
namespace CtlRun {

int Main(const QStringList& i_args);

} // namespace CtlRun
