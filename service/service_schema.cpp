#include "service_schema.h"

#include <string>

namespace velinst::service {
namespace {

// Texts are kept in the clients' escaped form. Ids come from AUTOINCREMENT
// so a removed record's id is never handed out again.
constexpr const char* kSchema = R"sql(
CREATE TABLE accounts (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL DEFAULT '', address1 TEXT NOT NULL DEFAULT '', address2 TEXT NOT NULL DEFAULT '',
  city TEXT NOT NULL DEFAULT '', state TEXT NOT NULL DEFAULT '', zip TEXT NOT NULL DEFAULT '',
  contact_name TEXT NOT NULL DEFAULT '', contact_email TEXT NOT NULL DEFAULT '', contact_phone TEXT NOT NULL DEFAULT '',
  product_id TEXT UNIQUE COLLATE NOCASE,
  sku TEXT NOT NULL DEFAULT '',
  seats INTEGER NOT NULL DEFAULT 0,
  created INTEGER NOT NULL);
CREATE TABLE users (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  account_id INTEGER REFERENCES accounts(id) ON DELETE SET NULL,
  user_name TEXT NOT NULL UNIQUE COLLATE NOCASE,
  first_name TEXT NOT NULL DEFAULT '', last_name TEXT NOT NULL DEFAULT '',
  email TEXT NOT NULL DEFAULT '' COLLATE NOCASE, phone TEXT NOT NULL DEFAULT '',
  receive_newsletter INTEGER NOT NULL DEFAULT 0, receive_updates INTEGER NOT NULL DEFAULT 0,
  display_name TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  weight REAL NOT NULL DEFAULT 0, units TEXT NOT NULL DEFAULT '',
  password_hash TEXT NOT NULL DEFAULT '',
  created INTEGER NOT NULL);
CREATE UNIQUE INDEX users_email ON users(email) WHERE email <> '';
CREATE UNIQUE INDEX users_display_name ON users(display_name) WHERE display_name <> '';
CREATE INDEX users_account ON users(account_id);
CREATE TABLE roles (
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  role TEXT NOT NULL COLLATE NOCASE,
  PRIMARY KEY (user_id, role));
CREATE TABLE privileges (
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  privilege TEXT NOT NULL COLLATE NOCASE,
  PRIMARY KEY (user_id, privilege));
CREATE TABLE tokens (
  token_hash TEXT PRIMARY KEY,
  user_id INTEGER REFERENCES users(id) ON DELETE CASCADE,
  address TEXT NOT NULL,
  device TEXT NOT NULL DEFAULT '',
  issued INTEGER NOT NULL,
  expires INTEGER NOT NULL);
CREATE INDEX tokens_expires ON tokens(expires);
CREATE TABLE password_resets (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  force_change INTEGER NOT NULL,
  requested INTEGER NOT NULL);
CREATE TABLE teams (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  account_id INTEGER NOT NULL REFERENCES accounts(id) ON DELETE CASCADE,
  name TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
  UNIQUE (account_id, name));
CREATE TABLE team_members (
  team_id INTEGER NOT NULL REFERENCES teams(id) ON DELETE CASCADE,
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  role TEXT NOT NULL DEFAULT '',
  PRIMARY KEY (team_id, user_id));
CREATE TABLE trips (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  document TEXT NOT NULL,
  name TEXT NOT NULL DEFAULT '',
  activity_type TEXT NOT NULL DEFAULT '',
  animal_type TEXT NOT NULL DEFAULT '',
  summary TEXT NOT NULL DEFAULT '',
  date TEXT NOT NULL DEFAULT '',
  distance REAL NOT NULL DEFAULT 0,
  duration INTEGER NOT NULL DEFAULT 0,
  resting INTEGER NOT NULL DEFAULT 0,
  unaccounted INTEGER NOT NULL DEFAULT 0,
  calories INTEGER NOT NULL DEFAULT 0,
  ele_gain REAL NOT NULL DEFAULT 0,
  ele_loss REAL NOT NULL DEFAULT 0,
  difficulty INTEGER NOT NULL DEFAULT 1,
  trailhead_lat REAL, trailhead_lon REAL,
  track_count INTEGER NOT NULL DEFAULT 0,
  route_count INTEGER NOT NULL DEFAULT 0,
  point_count INTEGER NOT NULL DEFAULT 0,
  waypoint_count INTEGER NOT NULL DEFAULT 0,
  shared INTEGER NOT NULL DEFAULT 0,
  publish_to TEXT NOT NULL DEFAULT '',
  culture TEXT NOT NULL DEFAULT '',
  revision INTEGER NOT NULL DEFAULT 1,
  created INTEGER NOT NULL,
  modified INTEGER NOT NULL);
CREATE INDEX trips_user ON trips(user_id);
CREATE TABLE trip_media (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  trip_id INTEGER NOT NULL REFERENCES trips(id) ON DELETE CASCADE,
  timestamp TEXT NOT NULL DEFAULT '', author TEXT NOT NULL DEFAULT '', copyright TEXT NOT NULL DEFAULT '',
  content_type TEXT NOT NULL DEFAULT '', filename TEXT NOT NULL DEFAULT '',
  data BLOB NOT NULL);
CREATE TABLE trip_pois (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  trip_id INTEGER NOT NULL REFERENCES trips(id) ON DELETE CASCADE,
  timestamp TEXT NOT NULL DEFAULT '',
  latitude REAL NOT NULL, longitude REAL NOT NULL, altitude REAL,
  poi_order INTEGER NOT NULL,
  name TEXT NOT NULL DEFAULT '', description TEXT NOT NULL DEFAULT '',
  media_id INTEGER REFERENCES trip_media(id) ON DELETE SET NULL,
  type TEXT NOT NULL);
CREATE TABLE team_trips (
  team_id INTEGER NOT NULL REFERENCES teams(id) ON DELETE CASCADE,
  trip_id INTEGER NOT NULL REFERENCES trips(id) ON DELETE CASCADE,
  PRIMARY KEY (team_id, trip_id));
CREATE TABLE live_positions (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  user_id INTEGER NOT NULL REFERENCES users(id) ON DELETE CASCADE,
  lat REAL NOT NULL, lon REAL NOT NULL, ele REAL NOT NULL,
  device_time_utc TEXT NOT NULL DEFAULT '', message TEXT NOT NULL DEFAULT '',
  message_type TEXT NOT NULL DEFAULT '', properties TEXT NOT NULL DEFAULT '',
  received INTEGER NOT NULL);
CREATE INDEX live_positions_user ON live_positions(user_id, id);
CREATE TABLE resellers (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL DEFAULT '', address1 TEXT NOT NULL DEFAULT '', address2 TEXT NOT NULL DEFAULT '',
  city TEXT NOT NULL DEFAULT '', state TEXT NOT NULL DEFAULT '', zip TEXT NOT NULL DEFAULT '',
  website TEXT NOT NULL DEFAULT '', phone TEXT NOT NULL DEFAULT '', fax TEXT NOT NULL DEFAULT '',
  lat REAL NOT NULL DEFAULT 0, lon REAL NOT NULL DEFAULT 0, type TEXT NOT NULL DEFAULT '');
CREATE TABLE reseller_contacts (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  reseller_id INTEGER NOT NULL REFERENCES resellers(id) ON DELETE CASCADE,
  name TEXT NOT NULL DEFAULT '', phone TEXT NOT NULL DEFAULT '', email TEXT NOT NULL DEFAULT '',
  type TEXT NOT NULL DEFAULT '');
)sql";

}  // namespace

void PrepareSchema(Database& database) {
  // A committed request must survive the process being killed, and a
  // reader never sees half of one.
  database.Execute("PRAGMA foreign_keys = ON");
  database.Execute("PRAGMA journal_mode = WAL");
  database.Execute("PRAGMA synchronous = FULL");
  Transaction transaction(database);
  const std::int64_t version = database.Integer("PRAGMA user_version").value_or(0);
  if (version == 0) {
    database.Execute(kSchema);
    database.Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
  } else if (version != kSchemaVersion) {
    throw DatabaseError("the database has schema version " + std::to_string(version) + ", this service knows " +
                        std::to_string(kSchemaVersion));
  }
  transaction.Commit();
}

}  // namespace velinst::service
