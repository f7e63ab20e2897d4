// The "Trip" method group: a user's recorded trips listed, fetched,
// saved, renamed, shared and deleted, with their media, points of interest
// and modification times.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "webclient/ad_value_records.h"
#include "webclient/result_code.h"
#include "webclient/rk_class.h"
#include "webclient/trip_records.h"

namespace velinst {

class CRKTripClass : public CRKClass {
 public:
  CRKResult<std::vector<TripStats>> GetTripList(const std::string& authToken);
  // The trips changed since `modifiedSince` (all when not given);
  // `synchronizedDate` (may be null) receives the server's time of the
  // list, whatever the code.
  CRKResult<std::vector<TripStats>> GetTripListByDate(const std::string& authToken,
                                                      const std::optional<std::string>& modifiedSince,
                                                      std::string* synchronizedDate);
  CRKResult<std::vector<std::int32_t>> GetTripListIDs(const std::string& authToken);
  // Each trip's id with its revision number.
  CRKResult<std::vector<IDPair>> GetTripListIDsAndRevisionNumber(const std::string& authToken);
  CRKResult<TripInfo> GetTripInfo(const std::string& authToken, std::int32_t tripID);
  // The trip's document.
  CRKResult<std::string> GetTrip(const std::string& authToken, std::int32_t tripID, std::optional<bool> filterHtml);
  CRKResult<std::string> LastModified(const std::string& authToken, std::int32_t tripID);

  std::int32_t Rename(const std::string& authToken, std::int32_t tripID, const std::string& name);
  std::int32_t Delete(const std::string& authToken, std::int32_t tripID);
  // publishTo is always sent, empty for an empty list.
  std::int32_t Share(const std::string& authToken, std::int32_t tripID, bool share,
                     const std::vector<std::string>& publishTo, const std::optional<std::string>& culture);

  // Posts the trip document; the new trip's id (0 when the answer named
  // none).
  CRKResult<std::int32_t> Save(const std::string& authToken, const std::string& document);
  // Posts the trip document; the trip as the server stored it.
  CRKResult<std::string> SynchronizedSave(const std::string& authToken,
                                          const std::optional<std::string>& lastUpdatedOverride,
                                          const std::string& document);
  // Posts the `size` bytes at `media`; the media's id.
  CRKResult<std::int32_t> AddMedia(const std::string& authToken, std::int32_t tripID,
                                   const std::optional<std::string>& timestamp, const std::string& author,
                                   const std::string& copyright, const std::string& contentType,
                                   const std::string& filename, const void* media, std::uint32_t size);
  // The point's type is an index of poi_types.h; the point's id.
  CRKResult<std::int32_t> AddPoi(const std::string& authToken, std::int32_t tripID,
                                 const std::optional<std::string>& timestamp, double latitude, double longitude,
                                 std::optional<double> altitude, std::int32_t poiOrder, const std::string& name,
                                 const std::string& description, std::optional<std::int32_t> mediaID,
                                 std::int32_t pointOfInterestType);
};

}  // namespace velinst
