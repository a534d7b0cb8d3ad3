#pragma once

#include <QString>

// Where the service password comes from, never from an argument: the file of
// --password-file (its first line, at most 1 KiB, from a regular file or a pipe), else
// LUMOQ4_SERVICE_PASSWORD, else a prompt without echo when standard input is a terminal.
// o_sPassword stays empty when there is none.
namespace PasswordSource {

// False when the password file cannot be read, with the reason in o_sError.
bool Read(const QString& i_sFile, QString& o_sPassword, QString& o_sError);

} // namespace PasswordSource
