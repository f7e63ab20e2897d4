#include "webclient/trip_parsers.h"

#include "webclient/answer_values.h"

namespace velinst {

namespace {

constexpr char kBadTripsTag[] = "Bad Trips tag";
constexpr char kBadTripStatsTag[] = "Bad TripsStats tag";
constexpr char kBadTripInfoTag[] = "Bad TripInfo tag";

// Calls `read` with each child of the cursor's element in turn while it
// returns true; whether every child was read.
template <typename Read>
bool ReadEachChild(CXMLNodeCursor& cursor, Read read) {
  for (CXMLNodeCursor* child = cursor.ChildCursor(); child != nullptr;) {
    if (!read(*child)) return false;
    if (!child->NextSibling()) break;
  }
  return true;
}

}  // namespace

void CRKTripStatsList::ReadTrips(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "Trips")) RaiseText(kBadTripsTag);
  ReadEachChild(cursor, [this](CXMLNodeCursor& child) {
    if (!ElementNamed(child, TripStats::ElementName())) RaiseText(kBadTripStatsTag);
    TripStats trip;
    ReadRecordAttributes(child, trip);
    trips_.push_back(std::move(trip));
    return true;
  });
  SetFilled();
}

void CRKTrips::Parse(CXMLNodeCursor& cursor) {
  if (ElementNamed(cursor, "Total"))
    total_ = LeadingIntegerValue(cursor.Text());
  else
    ReadTrips(cursor);
}

void CRKGetTripListByDate::Parse(CXMLNodeCursor& cursor) {
  if (ElementNamed(cursor, "synchronizedDate"))
    synchronizedDate_ = cursor.Text();
  else
    ReadTrips(cursor);
}

void CRKGetTripInfo::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, TripInfo::ElementName())) RaiseText(kBadTripInfoTag);
  ReadRecordAttributes(cursor, info_);
  SetFilled();
}

void CRKGetTrip::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "GetTrip")) RaiseText(kBadTripsTag);
  trip_ = cursor.Text();
  SetFilled();
}

void CRKTripIDs::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "TripIDs")) return;
  const bool whole = ReadEachChild(cursor, [this](CXMLNodeCursor& child) {
    if (!ElementNamed(child, "ID")) return false;
    ids_.push_back(LeadingIntegerValue(child.Text()));
    return true;
  });
  if (whole) SetFilled();
}

void CRKIDPairs::Parse(CXMLNodeCursor& cursor) {
  if (!ElementNamed(cursor, "IDPairs")) return;
  const bool whole = ReadEachChild(cursor, [this](CXMLNodeCursor& child) {
    if (!ElementNamed(child, IDPair::ElementName())) return false;
    IDPair pair;
    ReadRecordAttributes(child, pair);
    pairs_.push_back(pair);
    return true;
  });
  if (whole) SetFilled();
}

}  // namespace velinst
