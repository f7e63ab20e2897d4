#include "webclient/trip_parsers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "document_test_support.h"
#include "webclient/poi_types.h"

// Records are written with their first fields only; the others keep their
// defaults.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace velinst::test {
namespace {

using ::testing::ElementsAre;

using TripParsersTest = AnswerDocumentTest;

TEST_F(TripParsersTest, TripsReadTotalAndEveryTripStatsAttribute) {
  CRKTrips parser;
  EXPECT_EQ(Read(Ok("<Total>7</Total><Trips><TripStats id=\"12\" name=\"Ridge &amp; Valley\" activityType=\"H\" "
                    "date=\"d\" distance=\"1112.0\" calories=\"90\" duration=\"1200\" resting=\"60\" unaccounted=\"5\" "
                    "summary=\"s\" eleGain=\"100.0\" eleLoss=\"20.5\" trailhead=\"45,-110\" userID=\"3\" "
                    "animalType=\"x\"/><tripstats ID=\"13\"/></Trips>"),
                 &parser)
                .raised,
            "");
  EXPECT_TRUE(parser.IsFilled());
  EXPECT_EQ(parser.Total(), 7);
  const TripStats first{"12", "Ridge & Valley", "H",    "d",       "1112.0", "90", "1200", "60", "5",
                        "s",  "100.0",          "20.5", "45,-110", "3"};
  EXPECT_THAT(parser.Trips(), ElementsAre(first, TripStats{.id = "13"}));
}

TEST_F(TripParsersTest, TripListAnswers) {
  struct Case {
    std::string answer;
    const char* raised;
    bool filled;
    std::size_t trips;
  } cases[] = {
      {Ok("<Total>4</Total><Trips/>"), "", true, 0},
      {Ok("<Total>4</Total>"), "", false, 0},
      {Ok("<Total>1</Total><Trips><TripStats id=\"1\"/></Trips><Extra/>"), "Bad Trips tag", true, 1},
      {Ok("<Trips><TripStats id=\"1\"/><Trip id=\"2\"/></Trips>"), "Bad TripsStats tag", false, 1},
  };
  for (const Case& c : cases) {
    CRKTrips parser;
    EXPECT_EQ(Read(c.answer, &parser).raised, c.raised) << c.answer;
    EXPECT_EQ(parser.IsFilled(), c.filled) << c.answer;
    EXPECT_EQ(parser.Trips().size(), c.trips) << c.answer;
  }

  CRKGetTripListByDate byDate, total;
  Read(Ok("<SynchronizedDate>2024-05-06T07:08:09Z</SynchronizedDate><Trips><TripStats id=\"5\"/></Trips>"), &byDate);
  EXPECT_EQ(std::make_pair(byDate.SynchronizedDate(), byDate.Trips().size()),
            std::make_pair(std::string("2024-05-06T07:08:09Z"), std::size_t{1}));
  EXPECT_EQ(Read(Ok("<Total>1</Total>"), &total).raised, "Bad Trips tag");
}

TEST_F(TripParsersTest, TripInfoAndTripTexts) {
  CRKGetTripInfo parser, other;
  Read(Ok("<TripInfo id=\"12\" name=\"n\" date=\"d\" distance=\"1112.5\" calories=\"90\" duration=\"1200\" "
          "resting=\"r\" unaccounted=\"u\" summary=\"s\" eleGain=\"100.25\" eleLoss=\"x\" trailhead=\"t\" "
          "userID=\"3\" poiCount=\"4\" trackCount=\"1\" mediaCount=\"2x\" routeCount=\"0\" totalPointCount=\"250\">"
          "<name>not read</name></TripInfo>"),
       &parser);
  EXPECT_TRUE(parser.IsFilled());
  EXPECT_EQ(parser.Info(),
            (TripInfo{12, "n", "d", 1112.5, "90", "1200", "r", "u", "s", 100.25, 0.0, "t", 3, 4, 1, 2, 0, 250}));
  EXPECT_EQ(Read(Ok("<Trip id=\"1\"/>"), &other).raised, "Bad TripInfo tag");

  CRKGetTrip trip, wrong;
  Read(Ok("<GetTrip>&lt;gpx/&gt;</GetTrip>"), &trip);
  EXPECT_EQ(trip.Trip(), "<gpx/>");
  EXPECT_EQ(Read(Ok("<Trip>x</Trip>"), &wrong).raised, "Bad Trips tag");
}

TEST_F(TripParsersTest, IdListsStopAtTheFirstStranger) {
  CRKTripIDs ids, stopped;
  Read(Ok("<Other><ID>9</ID></Other><TripIDs><ID>3</ID><id>4</id></TripIDs>"), &ids);
  EXPECT_TRUE(ids.IsFilled());
  EXPECT_THAT(ids.IDs(), ElementsAre(3, 4));
  Read(Ok("<TripIDs><ID>3</ID><Name>4</Name><ID>5</ID></TripIDs>"), &stopped);
  EXPECT_FALSE(stopped.IsFilled());
  EXPECT_THAT(stopped.IDs(), ElementsAre(3));

  CRKIDPairs pairs, none, stoppedPairs;
  Read(Ok("<IDPairs><IDPair Id=\"3\" Value=\"7\"/><idpair value=\"8\"/></IDPairs>"), &pairs);
  EXPECT_THAT(pairs.Pairs(), ElementsAre(IDPair{3, 7}, IDPair{0, 8}));
  Read(Ok("<IDPairs/>"), &none);
  EXPECT_TRUE(none.IsFilled());
  Read(Ok("<IDPairs><IDPair Id=\"1\" Value=\"2\"/><ID>3</ID></IDPairs>"), &stoppedPairs);
  EXPECT_FALSE(stoppedPairs.IsFilled());
  EXPECT_THAT(stoppedPairs.Pairs(), ElementsAre(IDPair{1, 2}));
}

TEST_F(TripParsersTest, SingleIdAnswers) {
  struct Case {
    const char* answer;
    std::int32_t media, poi, trip;
  } cases[] = {
      {"<MediaID>5</MediaID><PoiID>6</PoiID><TripID>7</TripID>", 5, 6, 7},
      {"<mediaid>0</mediaid><POIID>x</POIID><tripid>-2</tripid>", 0, 0, -2},
  };
  for (const Case& c : cases) {
    CRKMediaID media;
    CRKPOIID poi;
    CRKTripID trip;
    Read(Ok(c.answer), &media), Read(Ok(c.answer), &poi), Read(Ok(c.answer), &trip);
    EXPECT_EQ(std::make_pair(media.Id(), media.IsFilled()), std::make_pair(c.media, c.media != 0)) << c.answer;
    EXPECT_EQ(std::make_pair(poi.Id(), poi.IsFilled()), std::make_pair(c.poi, c.poi != 0)) << c.answer;
    EXPECT_EQ(std::make_pair(trip.Id(), trip.IsFilled()), std::make_pair(c.trip, c.trip != 0)) << c.answer;
  }
}

TEST(PointOfInterestTypes, IndexesOutsideTheTable) {
  EXPECT_STREQ(PointOfInterestTypeName(23), "TrophyPhoto");
  EXPECT_STREQ(PointOfInterestTypeName(24), "");
  EXPECT_STREQ(PointOfInterestTypeName(-1), "");
}

}  // namespace
}  // namespace velinst::test
