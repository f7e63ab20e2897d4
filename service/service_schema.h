// The service's tables, created in one transaction when a database is new.
#pragma once

#include "sqlite_database.h"

namespace velinst::service {

inline constexpr int kSchemaVersion = 1;

// Creates the tables of a new database and checks the version of an
// existing one; throws DatabaseError for a database of another version.
void PrepareSchema(Database& database);

}  // namespace velinst::service
