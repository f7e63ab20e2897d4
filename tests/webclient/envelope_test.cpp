// Answers read straight from a document, without HTTP: the envelope, the
// server errors, the query texts, the method parsers as Send drives them, and the
// administrative records with their request documents.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "test_support.h"
#include "webclient/account_parsers.h"
#include "webclient/ad_account_records.h"
#include "webclient/ad_parsers.h"
#include "webclient/ad_reseller_records.h"
#include "webclient/ad_team_records.h"
#include "webclient/ad_value_records.h"
#include "webclient/poi_types.h"
#include "webclient/request_query.h"
#include "webclient/response_parser.h"
#include "webclient/result_code.h"
#include "webclient/server_error.h"
#include "webclient/trip_parsers.h"
#include "webclient/url_encode.h"
#include "webclient/weather_names.h"
#include "webclient/weather_parsers.h"
#include "xml/document.h"

// Records are written with their first fields only; the others keep their
// defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;

// An answer with status="ok" around `elements`.
std::string Ok(const std::string& elements) { return "<rsp status=\"ok\">" + elements + "</rsp>"; }

class EnvelopeTest : public ::testing::Test {
 protected:
  // Loads `answer` and runs the envelope parser with `inner` on it: "" when
  // accepted, "code <n>" for a server error, else the message raised.
  std::string Read(const std::string& answer, IRKParser* inner) {
    // Outside the try: the envelope's own errors are read in the handler.
    CRKResponseParser envelope(inner);
    try {
      document_.LoadText(answer.c_str());
      envelope.Parse(*document_.GetRoot());
    } catch (const CRKException& error) {
      return "code " + std::to_string(error.Code());
    } catch (CLastErr* error) {
      const char* text = nullptr;
      return error->GetText(text) ? text : "(no text)";
    }
    return "";
  }

  ComApartment com_;
  CXMLDocument document_;
};

// Keeps the names of the nodes it is offered.
class RecordingParser : public IRKParser {
 public:
  void Parse(CXMLNodeCursor& cursor) override { offered.push_back(cursor.Name()); }
  std::vector<std::string> offered;
};

// The status and the root decide; server errors map to their codes, and
// the inner parser is offered nothing of them.
TEST_F(EnvelopeTest, StatusRootServerErrorsAndWhatTheInnerParserIsOffered) {
  const std::string unknown = "code " + std::to_string(kRKUnknownServerError);
  struct Case {
    std::string answer;
    std::string ended;
    std::vector<std::string> offered;
  } cases[] = {
      {"<rsp status=\"ok\"><A>1</A><b/>text<C x=\"1\"><D/></C></rsp>", "", {"A", "b", "#text", "C"}},
      {"<RSP Status=\"Ok\"/>", "", {}},
      {"<rsp other=\"1\" status=\"OK\" more=\"2\"><A/></rsp>", "", {"A"}},
      {"<rsp status=\"error\"><A/></rsp>", "Bad Response status", {}},
      {"<rsp stat=\"ok\"/>", "Bad Response status", {}},
      {"<response status=\"ok\"/>", "Bad response", {}},
      // A gpx root goes to the inner parser whole, whatever its status.
      {"<gpx><trk/></gpx>", "", {"gpx"}},
      {"<GPX status=\"err\"/>", "", {"GPX"}},
      {"<rsp status=\"err\"><err type=\"TrailmarkEmailLoginException\" msg=\"m\"/></rsp>", "code 5", {}},
      {"<rsp status=\"err\"><err TYPE=\"INCORRECTPASSWORDEXCEPTION\"/></rsp>", "code 26", {}},
      {"<rsp status=\"err\"><err type=\"UsernameFormatException\"/></rsp>", "code 42", {}},
      {"<rsp status=\"err\"><err type=\"ContentLengthMissmatchException\"/></rsp>", "code 10", {}},
      {"<rsp status=\"err\"><err type=\"ContentLengthMismatchException\"/></rsp>", unknown, {}},
      {"<rsp status=\"err\"><err msg=\"no type\"/></rsp>", unknown, {}},
      // Only the first child describes the error.
      {"<rsp status=\"err\"><note/><err type=\"HalvardException\"/></rsp>", unknown, {}},
      // An "ok" before "err" does not save the answer; one after it is not read.
      {"<rsp status=\"ok\" Status=\"ERR\"><e type=\"HalvardException\"/></rsp>", "code 41", {}},
      {"<rsp status=\"err\" status2=\"ok\"><e type=\"HalvardException\"/></rsp>", "code 41", {}},
  };
  for (const Case& c : cases) {
    RecordingParser inner;
    EXPECT_EQ(std::make_pair(Read(c.answer, &inner), inner.offered), std::make_pair(c.ended, c.offered)) << c.answer;
  }
  for (const char* answer : {"<rsp status=\"ok\"><A/></rsp>", "<gpx/>"})
    EXPECT_EQ(Read(answer, nullptr), "") << answer;
}

// "raised <text> " when the read raised, then each value and a blank.
template <typename... Values>
std::string Shown(const std::string& ended, const Values&... values) {
  std::ostringstream out;
  if (!ended.empty()) out << "raised " << ended << ' ';
  ((out << values << ' '), ...);
  return out.str();
}
// The ids in a list, each followed by a comma.
std::string Id(const TripStats& trip) { return trip.id; }
std::string Id(const IDPair& pair) { return std::to_string(pair.Id) + ":" + std::to_string(pair.Value); }
std::string Id(std::int32_t id) { return std::to_string(id); }
// The present fields of a record as "name=value ..." and its id.
std::string Shown(const CRKCurrentWeatherRecord& w) {
  std::ostringstream out;
  const auto put = [&out](const char* name, const auto& field) {
    if (field.present) out << name << '=' << field.value << ' ';
  };
  put("pressure", w.barometricPressure), put("client", w.clientId), put("condition", w.conditionId);
  put("dew", w.dewPoint), put("heat", w.heatIndex), put("humidity", w.humidity), put("temp", w.temperature);
  put("time", w.timestamp), put("chill", w.windChill), put("dir", w.windDirection), put("speed", w.windSpeed);
  out << "id=" << w.id << " condition " << w.conditionId.value;
  return out.str();
}

std::string Id(const CRKForecastDay& d) {
  std::ostringstream out;
  out << d.conditionId << ' ' << d.dayOfWeekId << ' ' << d.high << ' ' << d.low << ' ' << d.moonPhaseId << " ["
      << d.sunrise << "] [" << d.sunset << ']';
  return out.str();
}

template <typename Item>
std::string Ids(const std::vector<Item>& items) {
  std::string ids;
  for (const Item& item : items) ids += Id(item) + ",";
  return ids;
}
const char* Name(const char* name) { return name != nullptr ? name : "-"; }

// A row: read `answer` with a fresh `Parser` p and show the values after it.
#define READ(Parser, answer, ...) [&] { Parser p; const std::string o = Read(answer, &p); return Shown(o, __VA_ARGS__); }

// Names in any case; a first unknown child ends a list, an unexpected one
// raises; numbers read as far as they go.
TEST_F(EnvelopeTest, MethodParsersShowWhatTheyKept) {
  const std::string trips = "<Trips><TripStats id=\"1\"/></Trips>";
  const std::string day =
      "<WeatherForecast><ConditionID>23</ConditionID><DayOfWeekID>2</DayOfWeekID><High>71.5</High><Low>-4</Low>"
      "<MoonPhaseID>4</MoonPhaseID><Sunrise>05:58</Sunrise><SunSet>20:11</SunSet></WeatherForecast>";
  const struct {
    std::function<std::string()> read;
    const char* shown;
  } cases[] = {
      // clang-format off
      {READ(CRKExists, Ok("<exists>true</exists>"), p.Exists(), p.IsFilled()), "1 1 "},
      {READ(CRKExists, Ok("<EXISTS>FALSE</EXISTS>"), p.Exists(), p.IsFilled()), "0 1 "},
      {READ(CRKExists, Ok("<Other>True</Other>"), p.Exists(), p.IsFilled()), "0 0 "},
      {READ(CRKExists, Ok("<Exists>yes</Exists>"), p.Exists(), p.IsFilled()), "raised Illegal Exists value 0 0 "},
      {READ(CRKAuthToken, Ok("<Other>x</Other><authtoken>abc-123</authtoken>"), p.Token(), p.IsFilled()), "abc-123 1 "},
      {READ(CRKLogin, Ok("<AuthToken>T</AuthToken><Weight>72.5kg</Weight><Units>metric</Units><UserID> 42x</UserID>"),
            p.IsFilled(), p.Weight(), p.Units(), p.UserId()), "1 72.5 metric 42 "},
      // Weight and Units do not count towards filled.
      {READ(CRKLogin, Ok("<AuthToken>T</AuthToken><Weight>80</Weight><Units>u</Units>"), p.IsFilled()), "0 "},
      {READ(CRKLogin, Ok("<userid>99999999999</userid><weight>heavy</weight><USERID>-7</USERID>"),
            p.IsFilled(), p.UserId(), p.Weight()), "1 -7 0 "},
      {READ(CRKTrips, Ok("<Total>4</Total><Trips/>"), p.IsFilled(), p.Total(), Ids(p.Trips())), "1 4  "},
      {READ(CRKTrips, Ok("<Total>1</Total>" + trips + "<Extra/>"), p.IsFilled(), Ids(p.Trips())), "raised Bad Trips tag 1 1, "},
      {READ(CRKTrips, Ok("<Trips><tripstats ID=\"1\"/><Trip id=\"2\"/></Trips>"), Ids(p.Trips())), "raised Bad TripsStats tag 1, "},
      {READ(CRKGetTripListByDate, Ok("<SynchronizedDate>2024-05-06T07:08:09Z</SynchronizedDate>" + trips),
            p.SynchronizedDate(), Ids(p.Trips())), "2024-05-06T07:08:09Z 1, "},
      {READ(CRKGetTripListByDate, Ok("<Total>1</Total>"), p.IsFilled()), "raised Bad Trips tag 0 "},
      {READ(CRKGetTripInfo, Ok("<Trip id=\"1\"/>"), p.IsFilled()), "raised Bad TripInfo tag 0 "},
      {READ(CRKGetTrip, Ok("<GetTrip>&lt;gpx/&gt;</GetTrip>"), p.Trip()), "<gpx/> "},
      {READ(CRKGetTrip, Ok("<Trip>x</Trip>"), p.Trip()), "raised Bad Trips tag  "},
      {READ(CRKTripIDs, Ok("<Other><ID>9</ID></Other><TripIDs><ID>3</ID><id>4</id></TripIDs>"), p.IsFilled(), Ids(p.IDs())), "1 3,4, "},
      {READ(CRKTripIDs, Ok("<TripIDs><ID>3</ID><Name>4</Name><ID>5</ID></TripIDs>"), p.IsFilled(), Ids(p.IDs())), "0 3, "},
      {READ(CRKIDPairs, Ok("<IDPairs><IDPair Id=\"3\" Value=\"7\"/><idpair value=\"8\"/></IDPairs>"), p.IsFilled(), Ids(p.Pairs())), "1 3:7,0:8, "},
      {READ(CRKIDPairs, Ok("<IDPairs><IDPair Id=\"1\" Value=\"2\"/><ID>3</ID></IDPairs>"), p.IsFilled(), Ids(p.Pairs())), "0 1:2, "},
      {READ(CRKMediaID, Ok("<mediaid>5</mediaid><PoiID>6</PoiID>"), p.Id(), p.IsFilled()), "5 1 "},
      {READ(CRKMediaID, Ok("<MediaID>0</MediaID>"), p.Id(), p.IsFilled()), "0 0 "},
      {READ(CRKPOIID, Ok("<POIID>x</POIID>"), p.Id(), p.IsFilled()), "0 0 "},
      {READ(CRKTripID, Ok("<tripid>-2</tripid><MediaID>5</MediaID>"), p.Id(), p.IsFilled()), "-2 1 "},
      {READ(CRKCurrentWeather, Ok("<CurrentWeather><BarometricPressure>30.12</BarometricPressure><ClientID>7</ClientID>"
            "<ConditionID>12</ConditionID><DewPoint>41.5</DewPoint><HeatIndex>60.25</HeatIndex><Humidity>55</Humidity>"
            "<ID>42</ID><Temperature>-3.5</Temperature><Timestamp>2024-05-06 07:00</Timestamp><WindChill>-9.75</WindChill>"
            "<WindDirection>NNE</WindDirection><WindSpeed>12.5mph</WindSpeed></CurrentWeather>"), p.IsFilled(), Shown(p.Weather())),
       "1 pressure=30.12 client=7 condition=12 dew=41.5 heat=60.25 humidity=55 temp=-3.5 time=2024-05-06 07:00 "
       "chill=-9.75 dir=NNE speed=12.5 id=42 condition 12 "},
      // Empty texts and unknown names change nothing.
      {READ(CRKCurrentWeather, Ok("<Other><Temperature>1</Temperature></Other><currentweather><Temperature/>"
            "<WINDDIRECTION></WINDDIRECTION><humidity>80</humidity><Unknown>5</Unknown><conditionid>3</conditionid>"
            "<Sunrise>06:00</Sunrise></currentweather>"), p.IsFilled(), Shown(p.Weather())),
       "1 condition=3 humidity=80 id=0 condition 3 "},
      {READ(CRKCurrentWeather, Ok("<Temperature>20</Temperature>"), p.IsFilled(), Shown(p.Weather())), "0 id=0 condition -1 "},
      {READ(CRKForecast, Ok("<Forecast>" + day + "<weatherforecast><dayofweekid>3</dayofweekid><SUNSET>19:00</SUNSET>"
            "<sunrise></sunrise></weatherforecast><Other/>" + day + "</Forecast>"), p.IsFilled(), Ids(p.Days())),
       "1 23 2 71.5 -4 4 [05:58] [20:11],-1 3 0 0 0 [] [19:00], "},
      {READ(CRKForecast, Ok("<FORECAST><WeatherForecast/></FORECAST><Forecast><WeatherForecast/></Forecast>"),
            Ids(p.Days())), "-1 0 0 0 0 [] [],-1 0 0 0 0 [] [], "},
      {[] { return Shown("", Name(ConditionName(53)), Name(ConditionName(54)), Name(ConditionName(-1))); },
       "Thin Clouds - - "},
      {[] { return Shown("", Name(DayOfWeekName(7)), Name(DayOfWeekName(8)), Name(MoonPhaseName(7)),
                         Name(MoonPhaseName(8)), Name(MoonPhaseName(INT32_MIN))); },
       "Saturday - Waning Crescent - - "},
      {[] { return Shown("", PointOfInterestTypeName(23), PointOfInterestTypeName(24), PointOfInterestTypeName(-1)); },
       "TrophyPhoto   "},
      // clang-format on
  };
  for (const auto& c : cases) EXPECT_EQ(c.read(), c.shown);

  // Trip records read every attribute.
  CRKTrips stats;
  Read(Ok("<Total>7</Total><Trips><TripStats id=\"12\" name=\"Ridge &amp; Valley\" activityType=\"H\" date=\"d\" "
          "distance=\"1112.0\" calories=\"90\" duration=\"1200\" resting=\"60\" unaccounted=\"5\" summary=\"s\" "
          "eleGain=\"100.0\" eleLoss=\"20.5\" trailhead=\"45,-110\" userID=\"3\" animalType=\"x\"/></Trips>"),
       &stats);
  EXPECT_EQ(stats.Total(), 7);
  EXPECT_EQ(stats.Trips(), std::vector<TripStats>({{"12", "Ridge & Valley", "H", "d", "1112.0", "90", "1200", "60", "5",
                                                    "s", "100.0", "20.5", "45,-110", "3"}}));
  CRKGetTripInfo info;
  Read(Ok("<TripInfo id=\"12\" name=\"n\" date=\"d\" distance=\"1112.5\" calories=\"90\" duration=\"1200\" "
          "resting=\"r\" unaccounted=\"u\" summary=\"s\" eleGain=\"100.25\" eleLoss=\"x\" trailhead=\"t\" "
          "userID=\"3\" poiCount=\"4\" trackCount=\"1\" mediaCount=\"2x\" routeCount=\"0\" totalPointCount=\"250\">"
          "<name>not read</name></TripInfo>"),
       &info);
  EXPECT_TRUE(info.IsFilled());
  EXPECT_EQ(info.Info(), (TripInfo{12, "n", "d", 1112.5, "90", "1200", "r", "u", "s", 100.25, 0.0, "t", 3, 4, 1, 2, 0, 250}));
}

#undef READ


// The layouts the service reads: an id in a comment, numbers in fixed form.
// Fields are named in any case; texts convert as far as they go.
TEST(AdRecords, DocumentsAndFields) {
  EXPECT_EQ((Team{std::numeric_limits<std::int32_t>::min(), "Crew"}.ToXml()),
            "<Team>\n  <!-- <Id>-2147483648</Id> -->\n  <Name>Crew</Name>\n</Team>\n");
  EXPECT_EQ(LiveTrackingPosition({47.5, -8.25, 1200, "2026-12-06T10:00:00Z", "hi", "text", ""}).ToXml(),
            "<LiveTrackingPosition>\n  <Lat>47.500000</Lat>\n  <Lon>-8.250000</Lon>\n  <Ele>1200.000000</Ele>\n"
            "  <DeviceTimeUtc>2026-12-06T10:00:00Z</DeviceTimeUtc>\n  <Message>hi</Message>\n"
            "  <MessageType>text</MessageType>\n  <Properties></Properties>\n</LiveTrackingPosition>\n");

  AccountUser user;
  std::string known;
  for (const auto& [name, value] : std::initializer_list<std::pair<const char*, const char*>>{
           {"ID", "42abc"}, {"firstname", " Ann "}, {"receivenewsletter", "TRUE"}, {"ReceiveUpdates", "1"},
           {"Nickname", "x"}, {"", "x"}, {"Id2", "9"}})
    known += user.SetField(name, value) ? '1' : '0';
  EXPECT_EQ(known, "1111000");
  EXPECT_EQ(user, (AccountUser{42, " Ann ", "", "", "", "", true, false}));

  for (const auto& [text, integer] : std::initializer_list<std::pair<const char*, std::int32_t>>{
           {"", 0}, {"x1", 0}, {"  -17", -17}, {"+5", 5}, {"99999999999", INT32_MAX}, {"-99999999999", INT32_MIN}}) {
    IDPair pair;
    pair.SetField("Value", text);
    EXPECT_EQ(pair.Value, integer) << text;
  }

  Reseller reseller;
  const bool taken = reseller.SetField("lat", "47.1xyz") && reseller.SetField("Lon", "north");
  EXPECT_EQ(std::make_tuple(taken, reseller.Lat, reseller.Lon), std::make_tuple(true, 47.1f, 0.0f));
  // A real beyond float's range must not be narrowed undefined.
  EXPECT_TRUE(reseller.SetField("Lat", "1e300") && reseller.SetField("Lon", "-1e300"));
  EXPECT_TRUE(std::isinf(reseller.Lat) && reseller.Lat > 0 && std::isinf(reseller.Lon) && reseller.Lon < 0);
}

constexpr const char* kAnn = "<Account><Id>1</Id><Name>Ann</Name></Account>";
constexpr const char* kBo = "<account><ID>2</ID><name>Bo</name><Unknown>x</Unknown></account>";

TEST_F(EnvelopeTest, AdListReadsTheWrapperUpToTheFirstStranger) {
  struct Case {
    std::string answer;
    std::vector<std::int32_t> ids;
  } cases[] = {
      {Ok(std::string("<Accounts>") + kAnn + kBo + "</Accounts>"), {1, 2}},
      {Ok(std::string("<Accounts>") + kAnn + "<Team/>" + kBo + "</Accounts>"), {1}},
      {Ok(std::string("<Accounts><Team/>") + kAnn + "</Accounts>"), {}},
      // Every child of the answer is a wrapper of its own.
      {Ok(std::string("<A>") + kAnn + "</A><B>" + kBo + "</B>"), {1, 2}},
      // A record straight inside the answer is a wrapper, not a record.
      {Ok(kAnn), {}},
  };
  for (const Case& c : cases) {
    CRKADList<Account> parser;
    EXPECT_EQ(Read(c.answer, &parser), "") << c.answer;
    std::vector<std::int32_t> ids;
    for (const Account& account : parser.List()) ids.push_back(account.Id);
    EXPECT_EQ(ids, c.ids) << c.answer;
    EXPECT_TRUE(c.ids.size() != 2 || parser.List() == std::vector<Account>({{1, "Ann"}, {2, "Bo"}})) << c.answer;
  }

  // Items may carry their fields as attributes; strings keep their text.
  CRKADList<IDPair> pairs;
  Read(Ok("<Pairs><IDPair Id=\"4\" Value=\"9\"/><idpair><id>5</id><value>1</value></idpair></Pairs>"), &pairs);
  EXPECT_THAT(pairs.List(), ElementsAre(IDPair{4, 9}, IDPair{5, 1}));
}

TEST(UrlEncode, FullEncodingAndQueryValueEncoding) {
  struct Case {
    std::string text;
    const char* full;   // UrlEncode: letters and digits only stay
    const char* query;  // EncodeQueryValue: only what would break the query
  } cases[] = {
      {"", "", ""},
      {"Az09", "Az09", "Az09"},
      {"a b&c=d", "a%20b%26c%3dd", "a%20b%26c%3dd"},
      {"+/=%#", "%2b%2f%3d%25%23", "%2b/%3d%25%23"},
      {"-._~:;@?!$'()*,", "%2d%2e%5f%7e%3a%3b%40%3f%21%24%27%28%29%2a%2c", "-._~:;@?!$'()*,"},
      {std::string("\0\t\x1f\x7f", 4), "%00%09%1f%7f", "%00%09%1f%7f"},
      // Bytes of other code pages go out unchanged in a query value.
      {"caf\xE9 \xC3\xA9\xff", "caf%e9%20%c3%a9%ff", "caf\xE9%20\xC3\xA9\xff"},
      {"<x>&amp;\"'", "%3cx%3e%26amp%3b%22%27", "<x>%26amp;\"'"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlEncode(c.text), c.full) << c.text;
    EXPECT_EQ(EncodeQueryValue(c.text), c.query) << c.text;
  }
  // Numbers format like printf in the C locale.
  EXPECT_EQ(FixedText(1e20), "100000000000000000000.000000");
  EXPECT_EQ(FixedText(-1.7976931348623157e308).size(), 317u);
  EXPECT_EQ(DecimalText(-2147483647 - 1), "-2147483648");
}


}  // namespace
}  // namespace velinst::test
