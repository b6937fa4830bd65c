#pragma once

#include <libpq-fe.h>
#include <memory>

// Owners of libpq handles: a connection is finished and a result cleared exactly once.
struct PgConnCloser {
    void operator()(PGconn* c) const { PQfinish(c); }
};
struct PgResultClearer {
    void operator()(PGresult* r) const { PQclear(r); }
};
using PgConnHandle = std::unique_ptr<PGconn, PgConnCloser>;
using PgResultHandle = std::unique_ptr<PGresult, PgResultClearer>;
