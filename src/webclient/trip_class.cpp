#include "webclient/trip_class.h"

#include <string>
#include <utility>

#include "webclient/poi_types.h"
#include "webclient/trip_parsers.h"

namespace velinst {

namespace {

CRKParameterList TripParameters(const std::string& authToken, std::int32_t tripID) {
  return {{"authToken", authToken}, {"tripID", DecimalText(tripID)}};
}

}  // namespace

CRKResult<std::vector<TripStats>> CRKTripClass::GetTripList(const std::string& authToken) {
  CRKTrips parser;
  const std::int32_t code = Send("Trip.GetTripList", {{"authToken", authToken}}, &parser, kRKPlain);
  return {code, parser.Trips()};
}

CRKResult<std::vector<TripStats>> CRKTripClass::GetTripListByDate(const std::string& authToken,
                                                                  const std::optional<std::string>& modifiedSince,
                                                                  std::string* synchronizedDate) {
  CRKParameterList parameters = {{"authToken", authToken}};
  AddOptional(parameters, "modifiedSince", modifiedSince);
  CRKGetTripListByDate parser;
  const std::int32_t code = Send("Trip.GetTripListByDate", std::move(parameters), &parser, kRKPlain);
  if (synchronizedDate != nullptr) *synchronizedDate = parser.SynchronizedDate();
  return {code, parser.Trips()};
}

CRKResult<std::vector<std::int32_t>> CRKTripClass::GetTripListIDs(const std::string& authToken) {
  CRKTripIDs parser;
  const std::int32_t code = Send("Trip.GetTripListIDs", {{"authToken", authToken}}, &parser, kRKPlain);
  return {code, parser.IDs()};
}

CRKResult<std::vector<IDPair>> CRKTripClass::GetTripListIDsAndRevisionNumber(const std::string& authToken) {
  CRKIDPairs parser;
  const std::int32_t code = Send("Trip.GetTripListIDsAndRevisionNumber", {{"authToken", authToken}}, &parser, kRKPlain);
  return {code, parser.Pairs()};
}

CRKResult<TripInfo> CRKTripClass::GetTripInfo(const std::string& authToken, std::int32_t tripID) {
  CRKGetTripInfo parser;
  const std::int32_t code = Send("Trip.GetTripInfo", TripParameters(authToken, tripID), &parser, kRKPlain);
  return {code, parser.Info()};
}

CRKResult<std::string> CRKTripClass::GetTrip(const std::string& authToken, std::int32_t tripID,
                                             std::optional<bool> filterHtml) {
  CRKParameterList parameters = TripParameters(authToken, tripID);
  AddOptional(parameters, "filterHtml", filterHtml);
  CRKGetTrip parser;
  const std::int32_t code = Send("Trip.GetTrip", std::move(parameters), &parser, kRKPlain);
  return {code, parser.Trip()};
}

CRKResult<std::string> CRKTripClass::LastModified(const std::string& authToken, std::int32_t tripID) {
  CRKLastModified parser;
  const std::int32_t code = Send("Trip.LastModified", TripParameters(authToken, tripID), &parser, kRKPlain);
  return {code, parser.LastModified()};
}

std::int32_t CRKTripClass::Rename(const std::string& authToken, std::int32_t tripID, const std::string& name) {
  CRKParameterList parameters = TripParameters(authToken, tripID);
  parameters.push_back(UrlEncodedParameter("name", name));
  CRKLastModified parser;
  return Send("Trip.Rename", std::move(parameters), &parser, kRKPlain);
}

std::int32_t CRKTripClass::Delete(const std::string& authToken, std::int32_t tripID) {
  return Send("Trip.Delete", TripParameters(authToken, tripID), nullptr, kRKPlain);
}

std::int32_t CRKTripClass::Share(const std::string& authToken, std::int32_t tripID, bool share,
                                 const std::vector<std::string>& publishTo, const std::optional<std::string>& culture) {
  CRKParameterList parameters = TripParameters(authToken, tripID);
  parameters.push_back({"share", BooleanText(share)});
  parameters.push_back({"publishTo", JoinedTexts(publishTo)});
  AddOptional(parameters, "culture", culture);
  return Send("Trip.Share", std::move(parameters), nullptr, kRKPlain);
}

CRKResult<std::int32_t> CRKTripClass::Save(const std::string& authToken, const std::string& document) {
  CRKTripID parser;
  SetPostData(document);
  const std::int32_t code = Send("Trip.Save", {{"authToken", authToken}}, &parser, kRKPlain);
  return {code, parser.Id()};
}

CRKResult<std::string> CRKTripClass::SynchronizedSave(const std::string& authToken,
                                                      const std::optional<std::string>& lastUpdatedOverride,
                                                      const std::string& document) {
  CRKParameterList parameters = {{"authToken", authToken}};
  AddOptional(parameters, "lastUpdatedOverride", lastUpdatedOverride);
  CRKTrip parser;
  SetPostData(document);
  const std::int32_t code = Send("Trip.SynchronizedSave", std::move(parameters), &parser, kRKPlain);
  return {code, parser.Trip()};
}

CRKResult<std::int32_t> CRKTripClass::AddMedia(const std::string& authToken, std::int32_t tripID,
                                               const std::optional<std::string>& timestamp, const std::string& author,
                                               const std::string& copyright, const std::string& contentType,
                                               const std::string& filename, const void* media, std::uint32_t size) {
  // No bytes to post without a place to read them from.
  if (media == nullptr) size = 0;
  CRKParameterList parameters = TripParameters(authToken, tripID);
  AddOptional(parameters, "timestamp", timestamp);
  parameters.insert(parameters.end(), {{"author", author},
                                       {"copyright", copyright},
                                       {"contentType", contentType},
                                       {"filename", filename},
                                       // The byte count as posted: a media item of 2 GiB or more is
                                       // not announced as a negative size.
                                       {"size", std::to_string(size)}});
  CRKMediaID parser;
  SetPostData(media, size);
  const std::int32_t code = Send("Trip.AddMedia", std::move(parameters), &parser, kRKPlain);
  return {code, parser.Id()};
}

CRKResult<std::int32_t> CRKTripClass::AddPoi(const std::string& authToken, std::int32_t tripID,
                                             const std::optional<std::string>& timestamp, double latitude,
                                             double longitude, std::optional<double> altitude, std::int32_t poiOrder,
                                             const std::string& name, const std::string& description,
                                             std::optional<std::int32_t> mediaID, std::int32_t pointOfInterestType) {
  CRKParameterList parameters = TripParameters(authToken, tripID);
  AddOptional(parameters, "timestamp", timestamp);
  parameters.push_back({"latitude", FixedText(latitude)});
  parameters.push_back({"longitude", FixedText(longitude)});
  AddOptional(parameters, "altitude", altitude);
  parameters.insert(parameters.end(),
                    {{"poiOrder", DecimalText(poiOrder)}, {"name", name}, {"description", description}});
  AddOptional(parameters, "mediaID", mediaID);
  parameters.push_back({"pointOfInterestType", PointOfInterestTypeName(pointOfInterestType)});
  CRKPOIID parser;
  const std::int32_t code = Send("Trip.AddPoi", std::move(parameters), &parser, kRKPlain);
  return {code, parser.Id()};
}

}  // namespace velinst
