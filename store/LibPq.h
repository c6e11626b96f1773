// The few libpq calls the store makes itself, with libpq loaded on their first use: linked into
// the program, libpq and what it brings (TLS, Kerberos, LDAP) would be loaded and bound at every
// start, several milliseconds of every command and window, while only a PostgreSQL store needs
// it (and by then Qt's PostgreSQL driver has loaded the same library).
#pragma once

#include <QString>

#include <libpq-fe.h>

namespace store::libpq {

// Empty when libpq is loaded (or was already); otherwise why it cannot be.
QString loadFailure();

// libpq's functions of the same names, loading it on the first call. Where it cannot be loaded
// (loadFailure() says why) conninfoParse returns null and sets *error to null, consumeInput
// returns 0, notifies null, backendPID 0 and status CONNECTION_BAD; the free functions do nothing.
PQconninfoOption* conninfoParse(const char* text, char** error);
void conninfoFree(PQconninfoOption* options);
void freemem(void* memory);
int consumeInput(PGconn* connection);
PGnotify* notifies(PGconn* connection);
int backendPID(const PGconn* connection);
ConnStatusType status(const PGconn* connection);

}  // namespace store::libpq
