// The "Trip" group: a user's recorded trips (GPX documents), their points
// of interest and media, sharing and modification times.
#include <algorithm>
#include <cmath>
#include <vector>

#include "method_table.h"
#include "posted_document.h"
#include "service_clock.h"
#include "service_error.h"
#include "text_form.h"
#include "trip_records.h"
#include "trip_summary.h"
#include "value_text.h"
#include "webclient/poi_types.h"

namespace velinst::service {
namespace {

constexpr std::size_t kMaxDescriptionLength = 8191;
constexpr double kPoundsToKilograms = 0.45359237;

struct TripDocument {
  XmlDocument parsed;
  std::string text;
  TripSummary summary;
};

// The document is kept as sent when it is UTF-8 (it goes back out as text
// in answers), else as libxml2 writes it in UTF-8.
TripDocument ReadTripDocument(const std::string& body) {
  TripDocument trip{ParsePostedDocument(body), {}, {}};
  trip.text = IsValidUtf8(body) ? body : SerializedDocument(trip.parsed.get());
  trip.summary = SummarizeTrip(trip.parsed.get());
  return trip;
}

double WeightInKilograms(Database& database, std::int64_t userId) {
  Statement user = database.Query("SELECT weight, units FROM users WHERE id = ?", userId);
  if (!user.Step()) return 0;
  const std::string units = user.Text(1);
  const bool pounds = units.find("lb") != std::string::npos || units.find("LB") != std::string::npos ||
                      EqualsIgnoringCase(units, "imperial") || EqualsIgnoringCase(units, "english");
  return user.Real(0) * (pounds ? kPoundsToKilograms : 1.0);
}

// Writes the document and its figures into the trip's row.
void StoreTrip(Database& database, std::int64_t tripId, const TripDocument& trip, std::int64_t userId) {
  const TripSummary& s = trip.summary;
  database.Run(
      "UPDATE trips SET document = ?, name = ?, activity_type = ?, animal_type = ?, summary = ?, date = ?, "
      "distance = ?, duration = ?, resting = ?, unaccounted = ?, calories = ?, ele_gain = ?, ele_loss = ?, "
      "difficulty = ?, trailhead_lat = ?, trailhead_lon = ?, track_count = ?, route_count = ?, point_count = ?, "
      "waypoint_count = ? WHERE id = ?",
      trip.text, ClippedText(s.name, kMaxTextLength), ClippedText(s.activityType, kMaxTextLength),
      ClippedText(s.animalType, kMaxTextLength), ClippedText(s.summary, kMaxTextLength), s.date, s.distanceMeters,
      s.durationSeconds, s.restingSeconds, s.unaccountedSeconds, TripCalories(s, WeightInKilograms(database, userId)),
      s.elevationGain, s.elevationLoss, TripDifficulty(s), s.trailheadLatitude, s.trailheadLongitude, s.trackCount,
      s.routeCount, s.pointCount, s.waypointCount, tripId);
}

std::int64_t NewTrip(Database& database, const TripDocument& trip, std::int64_t userId, std::int64_t now) {
  database.Run("INSERT INTO trips (user_id, document, created, modified) VALUES (?, '', ?, ?)", userId, now, now);
  const std::int64_t tripId = database.LastInsertId();
  StoreTrip(database, tripId, trip, userId);
  return tripId;
}

void WriteTrips(MethodContext& context, std::string_view tail, std::int64_t userId) {
  context.Answer().Open("Trips");
  WriteTripStatsList(context.Db(), context.Answer(), tail, userId);
  context.Answer().Close();
}

void WriteLastModified(MethodContext& context, std::int64_t tripId) {
  const auto modified = context.Db().Integer("SELECT modified FROM trips WHERE id = ?", tripId);
  context.Answer().Element("LastModified", FormatTimestamp(modified.value_or(0)));
}

void AddMedia(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t tripId = context.Integer("tripID");
  const auto timestamp = context.OptionalText("timestamp");
  const std::string author = context.Text("author");
  const std::string copyright = context.Text("copyright");
  const std::string contentType = context.Text("contentType");
  const std::string filename = context.Text("filename");
  const std::int64_t size = context.Integer("size");
  RequireTripOwner(context.Db(), caller, tripId);
  const std::string& body = context.Body();
  if (size < 0 || static_cast<std::uint64_t>(size) != body.size())
    throw ServiceError(
        error_type::kContentLengthMismatch,
        "The size parameter is not the length of the posted media (" + std::to_string(body.size()) + ")");
  context.Db().Run(
      "INSERT INTO trip_media (trip_id, timestamp, author, copyright, content_type, filename, data) "
      "VALUES (?, ?, ?, ?, ?, ?, ?)",
      tripId, timestamp.value_or(""), author, copyright, contentType, filename,
      Blob{{reinterpret_cast<const std::uint8_t*>(body.data()), body.size()}});
  const std::int64_t mediaId = context.Db().LastInsertId();
  TouchTrip(context.Db(), tripId, context.Now());
  context.Answer().Element("MediaID", mediaId);
}

void AddPoi(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t tripId = context.Integer("tripID");
  const auto timestamp = context.OptionalText("timestamp");
  const double latitude = context.Real("latitude");
  const double longitude = context.Real("longitude");
  const auto altitude = context.OptionalReal("altitude");
  const std::int64_t order = context.Integer("poiOrder");
  const std::string name = context.Text("name");
  const std::string description = context.Text("description", kMaxDescriptionLength);
  const auto mediaId = context.OptionalInteger("mediaID");
  const std::string type = context.Text("pointOfInterestType");
  RequireTripOwner(context.Db(), caller, tripId);
  if (std::fabs(latitude) > 90 || std::fabs(longitude) > 180)
    throw ServiceError(error_type::kParameterOutOfRange, "The position is off the earth");
  const auto known = std::find_if(kPointOfInterestTypeNames.begin(), kPointOfInterestTypeNames.end(),
                                  [&](std::string_view name) { return EqualsIgnoringCase(name, type); });
  if (known == kPointOfInterestTypeNames.end())
    throw ServiceError(error_type::kParameter, "The point-of-interest type is not known");
  if (mediaId && !context.Db().Integer("SELECT 1 FROM trip_media WHERE id = ? AND trip_id = ?", *mediaId, tripId))
    throw ServiceError(error_type::kMediaToPoi, "The media is not one of the trip's");
  context.Db().Run(
      "INSERT INTO trip_pois (trip_id, timestamp, latitude, longitude, altitude, poi_order, name, description, "
      "media_id, type) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
      tripId, timestamp.value_or(""), latitude, longitude, altitude, order, name, description, mediaId,
      std::string(*known));
  const std::int64_t poiId = context.Db().LastInsertId();
  TouchTrip(context.Db(), tripId, context.Now());
  context.Answer().Element("PoiID", poiId);
}

void Delete(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t tripId = context.Integer("tripID");
  RequireTripOwner(context.Db(), caller, tripId);
  context.Db().Run("DELETE FROM trips WHERE id = ?", tripId);
}

// Markup inside the document's texts (descriptions written in HTML) is
// removed, tags only; their words stay.
std::string WithoutHtml(const std::string& document) {
  XmlDocument parsed = ParsePostedDocument(document);
  std::vector<xmlNode*> pending{xmlDocGetRootElement(parsed.get())};
  while (!pending.empty()) {
    xmlNode* node = pending.back();
    pending.pop_back();
    for (xmlNode* child = node->children; child != nullptr; child = child->next) {
      if (child->type == XML_ELEMENT_NODE) {
        pending.push_back(child);
      } else if (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) {
        const std::string text = NodeText(child);
        std::string plain;
        bool inTag = false;
        for (const char c : text) {
          if (c == '<') inTag = true;
          if (!inTag) plain += c;
          if (c == '>') inTag = false;
        }
        if (plain != text)
          xmlNodeSetContentLen(child, reinterpret_cast<const xmlChar*>(plain.data()), static_cast<int>(plain.size()));
      }
    }
  }
  return SerializedDocument(parsed.get());
}

void GetTrip(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t tripId = context.Integer("tripID");
  const bool filterHtml = context.OptionalBoolean("filterHtml").value_or(false);
  RequireTripReader(context.Db(), caller, tripId);
  Statement trip = context.Db().Query("SELECT document FROM trips WHERE id = ?", tripId);
  trip.Step();
  context.Answer().Element("GetTrip", filterHtml ? WithoutHtml(trip.Text(0)) : trip.Text(0));
}

void GetTripInfo(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t tripId = context.Integer("tripID");
  RequireTripReader(context.Db(), caller, tripId);
  WriteTripInfo(context.Db(), context.Answer(), tripId);
}

void GetTripList(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  context.Answer().Element(
      "Total", context.Db().Integer("SELECT COUNT(*) FROM trips WHERE user_id = ?", caller.userId).value_or(0));
  WriteTrips(context, "WHERE user_id = ? ORDER BY id", caller.userId);
}

void GetTripListByDate(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const auto since = context.OptionalText("modifiedSince");
  std::int64_t from = 0;
  if (since && !since->empty()) {
    const auto instant = ParseTimestamp(*since);
    if (!instant) throw ServiceError(error_type::kParameter, "modifiedSince is not a time stamp");
    from = *instant;
  }
  context.Answer().Element("synchronizedDate", FormatTimestamp(context.Now()));
  context.Answer().Open("Trips");
  WriteTripStatsList(context.Db(), context.Answer(), "WHERE user_id = ? AND modified >= ? ORDER BY modified, id",
                     caller.userId, from);
  context.Answer().Close();
}

void GetTripListIDs(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  context.Answer().Open("TripIDs");
  for (Statement rows = context.Db().Query("SELECT id FROM trips WHERE user_id = ? ORDER BY id", caller.userId);
       rows.Step();)
    context.Answer().Element("ID", rows.Integer(0));
  context.Answer().Close();
}

void GetTripListIDsAndRevisionNumber(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  context.Answer().Open("IDPairs");
  for (Statement rows =
           context.Db().Query("SELECT id, revision FROM trips WHERE user_id = ? ORDER BY id", caller.userId);
       rows.Step();)
    context.Answer().Empty("IDPair",
                           {{"Id", std::to_string(rows.Integer(0))}, {"Value", std::to_string(rows.Integer(1))}});
  context.Answer().Close();
}

void LastModified(MethodContext& context) {
  const Caller caller = context.Authenticate();
  const std::int64_t tripId = context.Integer("tripID");
  RequireTripReader(context.Db(), caller, tripId);
  WriteLastModified(context, tripId);
}

// The new name is the trip's; the saved document is left as it was.
void Rename(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t tripId = context.Integer("tripID");
  const std::string name = context.Text("name");
  RequireTripOwner(context.Db(), caller, tripId);
  if (name.empty()) throw ServiceError(error_type::kParameter, "A trip's name is not empty");
  context.Db().Run("UPDATE trips SET name = ? WHERE id = ?", name, tripId);
  TouchTrip(context.Db(), tripId, context.Now());
  WriteLastModified(context, tripId);
}

void Save(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const TripDocument trip = ReadTripDocument(context.Body());
  context.Answer().Element("TripID", NewTrip(context.Db(), trip, caller.userId, context.Now()));
}

void Share(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const std::int64_t tripId = context.Integer("tripID");
  const bool share = context.Boolean("share");
  const std::string publishTo = context.Text("publishTo");
  const auto culture = context.OptionalText("culture");
  RequireTripOwner(context.Db(), caller, tripId);
  context.Db().Run("UPDATE trips SET shared = ?, publish_to = ?, culture = ? WHERE id = ?", share, publishTo,
                   culture.value_or(""), tripId);
}

// A document whose root carries the id of one of the caller's trips
// replaces that trip; any other is saved as a new trip. Either way the
// answer is the document as stored, its root's id set to the trip's.
void SynchronizedSave(MethodContext& context) {
  const Caller caller = context.AuthenticateUser();
  const auto overrideText = context.OptionalText("lastUpdatedOverride");
  std::int64_t modified = context.Now();
  if (overrideText && !overrideText->empty()) {
    const auto instant = ParseTimestamp(*overrideText);
    if (!instant) throw ServiceError(error_type::kParameter, "lastUpdatedOverride is not a time stamp");
    modified = *instant;
  }
  TripDocument trip = ReadTripDocument(context.Body());
  xmlNode* root = xmlDocGetRootElement(trip.parsed.get());

  std::optional<std::int64_t> tripId;
  if (const auto id = IntegerText(AttributeText(root, "id")))
    tripId = context.Db().Integer("SELECT id FROM trips WHERE id = ? AND user_id = ?", *id, caller.userId);
  const bool replacing = tripId.has_value();
  if (!replacing) tripId = NewTrip(context.Db(), trip, caller.userId, modified);
  xmlSetProp(root, reinterpret_cast<const xmlChar*>("id"),
             reinterpret_cast<const xmlChar*>(std::to_string(*tripId).c_str()));
  trip.text = SerializedDocument(trip.parsed.get());
  StoreTrip(context.Db(), *tripId, trip, caller.userId);
  if (replacing) TouchTrip(context.Db(), *tripId, modified);
  context.Answer().Element("Trip", trip.text);
}

constexpr MethodEntry kMethods[] = {
    {"Trip.AddMedia", AddMedia},
    {"Trip.AddPoi", AddPoi},
    {"Trip.Delete", Delete},
    {"Trip.GetTrip", GetTrip},
    {"Trip.GetTripInfo", GetTripInfo},
    {"Trip.GetTripList", GetTripList},
    {"Trip.GetTripListByDate", GetTripListByDate},
    {"Trip.GetTripListIDs", GetTripListIDs},
    {"Trip.GetTripListIDsAndRevisionNumber", GetTripListIDsAndRevisionNumber},
    {"Trip.LastModified", LastModified},
    {"Trip.Rename", Rename},
    {"Trip.Save", Save},
    {"Trip.Share", Share},
    {"Trip.SynchronizedSave", SynchronizedSave},
};

}  // namespace

std::span<const MethodEntry> TripMethods() { return kMethods; }

}  // namespace velinst::service
