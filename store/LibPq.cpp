// libpq loaded on first use.
#include "store/LibPq.h"

#include "store/LibraryFunctions.h"

#include <dlfcn.h>

namespace store::libpq {
namespace {

struct Api {
    decltype(&PQconninfoParse) conninfoParse = nullptr;
    decltype(&PQconninfoFree) conninfoFree = nullptr;
    decltype(&PQfreemem) freemem = nullptr;
    decltype(&PQconsumeInput) consumeInput = nullptr;
    decltype(&PQnotifies) notifies = nullptr;
    decltype(&PQbackendPID) backendPID = nullptr;
    decltype(&PQstatus) status = nullptr;
    QString failure;
};

// The function `name` of the library into `into`; the first one missing is named in `failure`.
template <class Function>
void bind(void* library, const char* name, Function& into, QString& failure)
{
    if (!bindLibraryFunction(library, name, into) && failure.isEmpty())
        failure = QStringLiteral("The PostgreSQL client library has no %1.").arg(QString::fromLatin1(name));
}

Api load()
{
    Api api;
    // The library's run-time name, the one Qt's PostgreSQL driver is linked against. Never closed:
    // the driver may hold it too.
    void* library = ::dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        api.failure = QStringLiteral("The PostgreSQL client library (libpq.so.5) cannot be loaded: %1. Install "
                                     "libpq5 to use a PostgreSQL server.")
                          .arg(reason ? QString::fromLocal8Bit(reason) : QStringLiteral("not found"));
        return api;
    }
    bind(library, "PQconninfoParse", api.conninfoParse, api.failure);
    bind(library, "PQconninfoFree", api.conninfoFree, api.failure);
    bind(library, "PQfreemem", api.freemem, api.failure);
    bind(library, "PQconsumeInput", api.consumeInput, api.failure);
    bind(library, "PQnotifies", api.notifies, api.failure);
    bind(library, "PQbackendPID", api.backendPID, api.failure);
    bind(library, "PQstatus", api.status, api.failure);
    return api;
}

const Api& api()
{
    static const Api loaded = load();
    return loaded;
}

bool usable() { return api().failure.isEmpty(); }

}  // namespace

QString loadFailure() { return api().failure; }

PQconninfoOption* conninfoParse(const char* text, char** error)
{
    if (!usable()) {
        if (error)
            *error = nullptr;
        return nullptr;
    }
    return api().conninfoParse(text, error);
}

void conninfoFree(PQconninfoOption* options)
{
    if (usable() && options)
        api().conninfoFree(options);
}

void freemem(void* memory)
{
    if (usable() && memory)
        api().freemem(memory);
}

int consumeInput(PGconn* connection) { return usable() ? api().consumeInput(connection) : 0; }

PGnotify* notifies(PGconn* connection) { return usable() ? api().notifies(connection) : nullptr; }

int backendPID(const PGconn* connection) { return usable() ? api().backendPID(connection) : 0; }

ConnStatusType status(const PGconn* connection) { return usable() ? api().status(connection) : CONNECTION_BAD; }

}  // namespace store::libpq
