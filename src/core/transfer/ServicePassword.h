#pragma once

#include <QString>

// The service password in front of the firmware update, whoever asks for it: the password
// dialog and the command-line tool.
namespace ServicePassword {

// True when i_sGiven is the password; letters count in either case.
bool Accepts(const QString& i_sGiven);

} // namespace ServicePassword
