#include "trip_summary.h"

#include <gtest/gtest.h>

#include "posted_document.h"

namespace velinst::service {
namespace {

constexpr const char* kTrip = R"(<?xml version="1.0"?>
<gpx xmlns="http://www.topografix.com/GPX/1/1" version="1.1">
 <metadata><name>Ridge &amp; Valley</name><desc>Loop</desc></metadata>
 <wpt lat="44.0" lon="-111.0"><name>Camp</name></wpt>
 <trk><name>Track name</name><type>Hiking</type>
  <trkseg>
   <trkpt lat="45.0" lon="-110.0"><ele>1000</ele><time>2024-05-01T10:00:00Z</time></trkpt>
   <trkpt lat="45.01" lon="-110.0"><ele>1100</ele><time>2024-05-01T10:20:00Z</time></trkpt>
   <trkpt lat="45.01" lon="-110.0"><ele>1050</ele><time>2024-05-01T10:30:00Z</time></trkpt>
  </trkseg>
  <trkseg>
   <trkpt lat="45.02" lon="-110.0"><ele>1050</ele><time>2024-05-01T11:00:00Z</time></trkpt>
   <trkpt lat="45.03" lon="-110.0"><time>2024-05-01T11:10:00Z</time></trkpt>
   <trkpt lat="95" lon="0"/>
  </trkseg>
 </trk>
 <extensions><animalType>Elk</animalType></extensions>
</gpx>)";

TEST(TripSummary, ReadsTextsAndFiguresOfTracks) {
  const XmlDocument document = ParsePostedDocument(kTrip);
  const TripSummary summary = SummarizeTrip(document.get());
  EXPECT_EQ(summary.name, "Ridge &amp; Valley");
  EXPECT_EQ(summary.summary, "Loop");
  EXPECT_EQ(summary.activityType, "Hiking");
  EXPECT_EQ(summary.animalType, "Elk");
  EXPECT_EQ(summary.date, "2024-05-01T10:00:00Z");
  EXPECT_NEAR(summary.distanceMeters, 2 * 1111.95, 1.0);  // segments are not joined
  EXPECT_DOUBLE_EQ(summary.elevationGain, 100);
  EXPECT_DOUBLE_EQ(summary.elevationLoss, 50);
  EXPECT_EQ(summary.durationSeconds, 4200);
  EXPECT_EQ(summary.restingSeconds, 600);
  EXPECT_EQ(summary.unaccountedSeconds, 1800);
  EXPECT_EQ(summary.trailheadLatitude, 45.0);  // the first recorded point, not the waypoint
  EXPECT_EQ(summary.trailheadLongitude, -110.0);
  EXPECT_EQ(summary.trackCount, 1);
  EXPECT_EQ(summary.waypointCount, 1);
  EXPECT_EQ(summary.pointCount, 6);  // the point off the earth is not one
  EXPECT_EQ(TripDifficulty(summary), 1);
  EXPECT_EQ(TripCalories(summary, 0), 187);
}

TEST(TripSummary, RoutesAndWaypointsStandInForMissingTracks) {
  const XmlDocument route = ParsePostedDocument(
      R"(<gpx><rte><name>Plan</name><rtept lat="1" lon="1"/><rtept lat="1.1" lon="1"/></rte></gpx>)");
  const TripSummary planned = SummarizeTrip(route.get());
  EXPECT_EQ(planned.name, "Plan");
  EXPECT_EQ(planned.routeCount, 1);
  EXPECT_NEAR(planned.distanceMeters, 11119.5, 1.0);
  EXPECT_EQ(planned.trailheadLatitude, 1.0);
  EXPECT_EQ(TripDifficulty(planned), 2);

  const XmlDocument waypoints = ParsePostedDocument(R"(<trip name="A &lt; B"><wpt lat="3" lon="4"/></trip>)");
  const TripSummary marked = SummarizeTrip(waypoints.get());
  EXPECT_EQ(marked.name, "A &lt; B");
  EXPECT_EQ(marked.trailheadLatitude, 3.0);
  EXPECT_EQ(marked.distanceMeters, 0);
  EXPECT_TRUE(marked.date.empty());
}

TEST(TripSummary, DifficultyGrowsWithLengthAndClimbUpToFive) {
  TripSummary summary;
  summary.distanceMeters = 8000;
  EXPECT_EQ(TripDifficulty(summary), 2);
  summary.elevationGain = 1200;
  EXPECT_EQ(TripDifficulty(summary), 4);
  summary.distanceMeters = 1e7;
  EXPECT_EQ(TripDifficulty(summary), 5);
}

}  // namespace
}  // namespace velinst::service
