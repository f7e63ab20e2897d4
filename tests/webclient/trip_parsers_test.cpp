#include "webclient/trip_parsers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document_test_support.h"
#include "webclient/poi_types.h"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using TripParsersTest = AnswerDocumentTest;

std::string Ok(const std::string& elements) { return "<rsp status=\"ok\">" + elements + "</rsp>"; }

TEST_F(TripParsersTest, TripsReadTotalAndEveryTripStatsAttribute) {
  CRKTrips parser;
  const Outcome outcome =
      Read(Ok("<Total>7</Total><Trips>"
              "<TripStats id=\"12\" name=\"Ridge &amp; Valley\" activityType=\"Hiking\" date=\"2024-05-01T10:00:00Z\" "
              "distance=\"1112.0\" calories=\"90\" duration=\"1200\" resting=\"60\" unaccounted=\"5\" summary=\"s\" "
              "eleGain=\"100.0\" eleLoss=\"20.5\" trailhead=\"45.000000,-110.000000\" userID=\"3\" animalType=\"x\"/>"
              "<tripstats ID=\"13\"/></Trips>"),
           &parser);
  EXPECT_EQ(outcome.raised, "");
  EXPECT_TRUE(parser.IsFilled());
  EXPECT_EQ(parser.Total(), 7);
  ASSERT_EQ(parser.Trips().size(), 2u);
  const TripStats& first = parser.Trips()[0];
  EXPECT_EQ(first.id, "12");
  EXPECT_EQ(first.name, "Ridge & Valley");
  EXPECT_EQ(first.activityType, "Hiking");
  EXPECT_EQ(first.date, "2024-05-01T10:00:00Z");
  EXPECT_EQ(first.distance, "1112.0");
  EXPECT_EQ(first.calories, "90");
  EXPECT_EQ(first.duration, "1200");
  EXPECT_EQ(first.resting, "60");
  EXPECT_EQ(first.unaccounted, "5");
  EXPECT_EQ(first.summary, "s");
  EXPECT_EQ(first.eleGain, "100.0");
  EXPECT_EQ(first.eleLoss, "20.5");
  EXPECT_EQ(first.trailhead, "45.000000,-110.000000");
  EXPECT_EQ(first.userID, "3");
  // Missing attributes stay empty.
  TripStats onlyId;
  onlyId.id = "13";
  EXPECT_EQ(parser.Trips()[1], onlyId);
}

TEST_F(TripParsersTest, TripListAnswers) {
  struct Case {
    const char* name;
    std::string answer;
    const char* raised;
    bool filled;
    std::size_t trips;
  } cases[] = {
      {"empty Trips", Ok("<Total>4</Total><Trips/>"), "", true, 0},
      {"no Trips", Ok("<Total>4</Total>"), "", false, 0},
      {"element next to Trips", Ok("<Total>1</Total><Trips><TripStats id=\"1\"/></Trips><Extra/>"), "Bad Trips tag",
       true, 1},
      {"other child of Trips", Ok("<Trips><TripStats id=\"1\"/><Trip id=\"2\"/></Trips>"), "Bad TripsStats tag", false,
       1},
  };
  for (const Case& c : cases) {
    CRKTrips parser;
    const Outcome outcome = Read(c.answer, &parser);
    EXPECT_EQ(outcome.raised, c.raised) << c.name;
    EXPECT_EQ(parser.IsFilled(), c.filled) << c.name;
    EXPECT_EQ(parser.Trips().size(), c.trips) << c.name;
  }
  CRKTrips total;
  Read(Ok("<Total>4</Total><Trips/>"), &total);
  EXPECT_EQ(total.Total(), 4);
}

TEST_F(TripParsersTest, TripListByDateKeepsTheSynchronizedDate) {
  CRKGetTripListByDate parser;
  EXPECT_EQ(
      Read(Ok("<SynchronizedDate>2024-05-06T07:08:09Z</SynchronizedDate><Trips><TripStats id=\"5\"/></Trips>"), &parser)
          .raised,
      "");
  EXPECT_TRUE(parser.IsFilled());
  EXPECT_EQ(parser.SynchronizedDate(), "2024-05-06T07:08:09Z");
  ASSERT_EQ(parser.Trips().size(), 1u);
  EXPECT_EQ(parser.Trips()[0].id, "5");

  CRKGetTripListByDate total;
  EXPECT_EQ(Read(Ok("<Total>1</Total>"), &total).raised, "Bad Trips tag");
  CRKGetTripListByDate badChild;
  EXPECT_EQ(Read(Ok("<Trips><ID>1</ID></Trips>"), &badChild).raised, "Bad TripsStats tag");
}

TEST_F(TripParsersTest, TripInfoReadsTypedAttributes) {
  CRKGetTripInfo parser;
  Read(Ok("<TripInfo id=\"12\" name=\"n\" date=\"d\" distance=\"1112.5\" calories=\"90\" duration=\"1200\" "
          "resting=\"r\" unaccounted=\"u\" summary=\"s\" eleGain=\"100.25\" eleLoss=\"x\" trailhead=\"t\" "
          "userID=\"3\" poiCount=\"4\" trackCount=\"1\" mediaCount=\"2x\" routeCount=\"0\" totalPointCount=\"250\">"
          "<name>not read</name></TripInfo>"),
       &parser);
  EXPECT_TRUE(parser.IsFilled());
  const TripInfo expected{.id = 12,
                          .name = "n",
                          .date = "d",
                          .distance = 1112.5,
                          .calories = "90",
                          .duration = "1200",
                          .resting = "r",
                          .unaccounted = "u",
                          .summary = "s",
                          .eleGain = 100.25,
                          .eleLoss = 0.0,
                          .trailhead = "t",
                          .userID = 3,
                          .poiCount = 4,
                          .trackCount = 1,
                          .mediaCount = 2,
                          .routeCount = 0,
                          .totalPointCount = 250};
  EXPECT_EQ(parser.Info(), expected);

  CRKGetTripInfo other;
  EXPECT_EQ(Read(Ok("<Trip id=\"1\"/>"), &other).raised, "Bad TripInfo tag");
}

TEST_F(TripParsersTest, GetTripTakesTheText) {
  CRKGetTrip parser;
  Read(Ok("<GetTrip>&lt;gpx/&gt;</GetTrip>"), &parser);
  EXPECT_TRUE(parser.IsFilled());
  EXPECT_EQ(parser.Trip(), "<gpx/>");
  CRKGetTrip other;
  EXPECT_EQ(Read(Ok("<Trip>x</Trip>"), &other).raised, "Bad Trips tag");
}

TEST_F(TripParsersTest, IdListsStopAtTheFirstStranger) {
  CRKTripIDs ids;
  Read(Ok("<Other><ID>9</ID></Other><TripIDs><ID>3</ID><id>4</id></TripIDs>"), &ids);
  EXPECT_TRUE(ids.IsFilled());
  EXPECT_THAT(ids.IDs(), ElementsAre(3, 4));

  CRKTripIDs stopped;
  Read(Ok("<TripIDs><ID>3</ID><Name>4</Name><ID>5</ID></TripIDs>"), &stopped);
  EXPECT_FALSE(stopped.IsFilled());
  EXPECT_THAT(stopped.IDs(), ElementsAre(3));

  CRKIDPairs pairs;
  Read(Ok("<IDPairs><IDPair Id=\"3\" Value=\"7\"/><idpair value=\"8\"/></IDPairs>"), &pairs);
  EXPECT_TRUE(pairs.IsFilled());
  EXPECT_THAT(pairs.Pairs(), ElementsAre(IDPair{3, 7}, IDPair{0, 8}));

  CRKIDPairs none;
  Read(Ok("<IDPairs/>"), &none);
  EXPECT_TRUE(none.IsFilled());
  EXPECT_THAT(none.Pairs(), IsEmpty());

  CRKIDPairs stoppedPairs;
  Read(Ok("<IDPairs><IDPair Id=\"1\" Value=\"2\"/><ID>3</ID></IDPairs>"), &stoppedPairs);
  EXPECT_FALSE(stoppedPairs.IsFilled());
  EXPECT_THAT(stoppedPairs.Pairs(), ElementsAre(IDPair{1, 2}));
}

TEST_F(TripParsersTest, SingleValueAnswers) {
  struct Case {
    const char* answer;
    std::int32_t media, poi, trip;
  } ids[] = {
      {"<MediaID>5</MediaID><PoiID>6</PoiID><TripID>7</TripID>", 5, 6, 7},
      {"<mediaid>0</mediaid><POIID>x</POIID><tripid>-2</tripid>", 0, 0, -2},
  };
  for (const Case& c : ids) {
    CRKMediaID media;
    CRKPOIID poi;
    CRKTripID trip;
    Read(Ok(c.answer), &media);
    Read(Ok(c.answer), &poi);
    Read(Ok(c.answer), &trip);
    EXPECT_EQ(media.Id(), c.media) << c.answer;
    EXPECT_EQ(media.IsFilled(), c.media != 0) << c.answer;
    EXPECT_EQ(poi.Id(), c.poi) << c.answer;
    EXPECT_EQ(poi.IsFilled(), c.poi != 0) << c.answer;
    EXPECT_EQ(trip.Id(), c.trip) << c.answer;
    EXPECT_EQ(trip.IsFilled(), c.trip != 0) << c.answer;
  }

  CRKLastModified modified;
  Read(Ok("<LastModified/>"), &modified);
  EXPECT_TRUE(modified.IsFilled());
  CRKTrip emptyTrip;
  Read(Ok("<Trip/>"), &emptyTrip);
  EXPECT_FALSE(emptyTrip.IsFilled());
  CRKTrip trip;
  Read(Ok("<trip>&lt;gpx id=\"1\"/&gt;</trip>"), &trip);
  EXPECT_TRUE(trip.IsFilled());
  EXPECT_EQ(trip.Trip(), "<gpx id=\"1\"/>");
}

TEST(PointOfInterestTypes, NamesAndIndexesOutsideTheTable) {
  EXPECT_STREQ(PointOfInterestTypeName(0), "Unknown");
  EXPECT_STREQ(PointOfInterestTypeName(12), "FishingHotspot");
  EXPECT_STREQ(PointOfInterestTypeName(23), "TrophyPhoto");
  EXPECT_STREQ(PointOfInterestTypeName(24), "");
  EXPECT_STREQ(PointOfInterestTypeName(-1), "");
}

}  // namespace
}  // namespace velinst::test
