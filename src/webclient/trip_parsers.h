// The answer parsers of the Search and Trip groups. Element names are
// compared without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "webclient/ad_value_records.h"
#include "webclient/element_parsers.h"
#include "webclient/rk_parser.h"
#include "webclient/trip_records.h"

namespace velinst {

// The parsers whose answer holds a "Trips" list of "TripStats" elements.
class CRKTripStatsList : public IRKParser {
 public:
  const std::vector<TripStats>& Trips() const { return trips_; }

 protected:
  // Reads a "Trips" element (an empty one too) and is filled; a child of
  // another name raises "Bad TripsStats tag", any element but "Trips"
  // "Bad Trips tag".
  void ReadTrips(CXMLNodeCursor& cursor);

 private:
  std::vector<TripStats> trips_;
};

// "Total" and "Trips": a page of a search or the whole trip list.
class CRKTrips : public CRKTripStatsList {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  std::int32_t Total() const { return total_; }

 private:
  std::int32_t total_ = 0;
};

// "synchronizedDate" and "Trips".
class CRKGetTripListByDate : public CRKTripStatsList {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const std::string& SynchronizedDate() const { return synchronizedDate_; }

 private:
  std::string synchronizedDate_;
};

// The attributes of "TripInfo"; any other element raises
// "Bad TripInfo tag".
class CRKGetTripInfo : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const TripInfo& Info() const { return info_; }

 private:
  TripInfo info_;
};

// The text of "GetTrip"; any other element raises "Bad Trips tag".
class CRKGetTrip : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const std::string& Trip() const { return trip_; }

 private:
  std::string trip_;
};

// The "ID" children of "TripIDs", up to the first child of another name;
// filled only when every child was read.
class CRKTripIDs : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const std::vector<std::int32_t>& IDs() const { return ids_; }

 private:
  std::vector<std::int32_t> ids_;
};

// The "IDPair" children of "IDPairs" (attributes "Id" and "Value"), up to
// the first child of another name; filled only when every child was read.
class CRKIDPairs : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override;
  const std::vector<IDPair>& Pairs() const { return pairs_; }

 private:
  std::vector<IDPair> pairs_;
};

class CRKLastModified : public CRKTextElement {
 public:
  CRKLastModified() : CRKTextElement("LastModified", true) {}
  const std::string& LastModified() const { return Text(); }
};

// A saved trip as the service stored it; found only when not empty.
class CRKTrip : public CRKTextElement {
 public:
  CRKTrip() : CRKTextElement("Trip", false) {}
  const std::string& Trip() const { return Text(); }
};

class CRKMediaID : public CRKIdElement {
 public:
  CRKMediaID() : CRKIdElement("MediaID") {}
};

class CRKPOIID : public CRKIdElement {
 public:
  CRKPOIID() : CRKIdElement("PoiID") {}
};

class CRKTripID : public CRKIdElement {
 public:
  CRKTripID() : CRKIdElement("TripID") {}
};

}  // namespace velinst
